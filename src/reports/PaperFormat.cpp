#include "reports/PaperFormat.h"

#include "foundation/Ini.h"
#include "reports/Predloha.h"
#include "reports/SestavaTyp.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lintaro {

namespace {

const QString kSection = QStringLiteral("FormatyPapiru");

TFormatPapiru builtIn(const char* name, int width, int height) {
    return {QString::fromUtf8(name), width, height};
}

} // namespace

TFormatPapiru TListFormatu::NewUserFormat() {
    return builtIn("Uživat. (210 x 297 mm)", 826, 1169);
}

TListFormatu::TListFormatu() {
    items_ = {NewUserFormat(),
              builtIn("Skládaný (8.5 x 12\")", 850, 1200),
              builtIn("Skládaný (15 x 12\")", 1500, 1200),
              builtIn("Letter (8.5 x 11\")", 850, 1100),
              builtIn("Legal (8.5 x 14\")", 850, 1400),
              builtIn("Executive (7.25 x 10.5\")", 725, 1050),
              builtIn("A2 (420 x 594 mm)", 1652, 2338),
              builtIn("A3 (297 x 420 mm)", 1169, 1652),
              builtIn("A4 (210 x 297 mm)", 826, 1169),
              builtIn("A5 (148.5 x 210 mm)", 584, 826),
              builtIn("A6 (105 x 148.5mm)", 413, 584),
              builtIn("B5 (182 x 257 mm)", 716, 1011),
              builtIn("Obálka (162 x 114 mm)", 637, 433),
              builtIn("Obálka (220 x 110 mm)", 866, 433),
              builtIn("Obálka (228 x 162 mm)", 896, 637),
              builtIn("Obálka otoč.(114 x 162 mm)", 433, 637),
              builtIn("Obálka otoč.(110 x 220 mm)", 433, 866),
              builtIn("Obálka otoč.(162 x 228 mm)", 637, 896)};
}

int TListFormatu::AddUser(const TFormatPapiru& format) {
    TFormatPapiru f = format;
    f.Name = f.Name.left(kMaxName);
    items_.push_back(f);
    return Count() - 1;
}

bool TListFormatu::SetUser(int index, const TFormatPapiru& format) {
    if (index < kBuiltIn || index >= Count())
        return false;
    items_[static_cast<size_t>(index)] = format;
    items_[static_cast<size_t>(index)].Name = format.Name.left(kMaxName);
    return true;
}

bool TListFormatu::DeleteUser(int index) {
    if (index < kBuiltIn || index >= Count())
        return false;
    items_.erase(items_.begin() + index);
    return true;
}

int TListFormatu::FindOrAppend(int width, int height) {
    for (int i = 0; i < Count(); ++i)
        if (Item(i).Width == width && Item(i).Height == height)
            return i;
    return AddUser({QStringLiteral("uživ. formát"), width, height});
}

bool TListFormatu::Load(const QString& iniFile) {
    items_.resize(kBuiltIn);
    if (!QFileInfo(iniFile).isFile())
        return true;
    TINI ini;
    if (!ini.LoadFromFile(iniFile))
        return false;
    const int count = ini.ReadString(kSection, QStringLiteral("PocetFormatu")).toInt();
    for (int n = 1; n <= std::min(count, 1000); ++n) {
        const QString line = ini.ReadString(kSection, QStringLiteral("Format%1").arg(n)).left(48);
        const QStringList f = SplitTemplateLine(line);
        if (f.isEmpty())
            continue;
        AddUser({TemplateText(f, 0), f.value(1).trimmed().toInt(), f.value(2).trimmed().toInt()});
    }
    return true;
}

bool TListFormatu::Save(const QString& iniFile) const {
    TINI ini;
    if (QFileInfo(iniFile).isFile() && !ini.LoadFromFile(iniFile))
        return false;
    ini.EraseSection(kSection);
    ini.WriteString(kSection, QStringLiteral("PocetFormatu"), QString::number(Count() - kBuiltIn));
    for (int i = kBuiltIn; i < Count(); ++i)
        ini.WriteString(kSection, QStringLiteral("Format%1").arg(i - kBuiltIn + 1),
                        QStringLiteral("%1,%2,%3")
                            .arg(QuoteTemplateText(Item(i).Name))
                            .arg(Item(i).Width)
                            .arg(Item(i).Height));
    QDir().mkpath(QFileInfo(iniFile).absolutePath());
    return ini.SaveToFile(iniFile);
}

QString EngineSettingsPath(const QString& iniFileName) {
    if (QFileInfo(iniFileName).isAbsolute())
        return iniFileName;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Lintaro/") + iniFileName;
}

QSize PaperSize(const TPageSetup& page) {
    return page.Orientation == 1 ? QSize(page.Height, page.Width) : QSize(page.Width, page.Height);
}

int PrintableWidth(const TPageSetup& page) {
    return PaperSize(page).width() - page.Left - page.Right;
}

int PrintableHeight(const TPageSetup& page) {
    return PaperSize(page).height() - page.Top - page.Bottom;
}

QRect PrintableRect(const TPageSetup& page) {
    return {page.Left, page.Top, PrintableWidth(page), PrintableHeight(page)};
}

} // namespace lintaro
