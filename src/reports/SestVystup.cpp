#include "reports/SestVystup.h"

namespace lintaro {

QString TSestVystup::Dump() const {
    QString out;
    for (int p = 0; p < PageCount(); ++p)
        for (const TVystPrvek& e : Page(p).Prvky) {
            QString text = e.Text;
            text.replace(u'\n', u'|');
            out += QStringLiteral("%1 %2 %3,%4,%5,%6 %7")
                       .arg(p + 1)
                       .arg(e.Kind)
                       .arg(e.Box.left())
                       .arg(e.Box.top())
                       .arg(e.Box.width())
                       .arg(e.Box.height())
                       .arg(text)
                       .trimmed() +
                   u'\n';
        }
    return out;
}

} // namespace lintaro
