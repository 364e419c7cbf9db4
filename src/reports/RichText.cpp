#include "reports/RichText.h"

#include "reports/OrvelCanvas.h"
#include "reports/RichTextNesting.h"
#include "reports/SiReportElement.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <iconv.h>
#include <vector>

namespace lintaro {

namespace {

struct RtfState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int halfPoints = 0; // 0: the element's size
    int colour = 0;     // 0: the element's colour
    bool skip = false;  // inside a destination that holds no text
    bool colourTable = false;
    int unicodeSkip = 1;
    bool operator==(const RtfState&) const = default;
};

// Bytes of a Windows code page as text, through iconv; Latin-1 when the code page is unknown.
QString decodeAnsi(const QByteArray& bytes, int codePage) {
    const QByteArray name = "CP" + QByteArray::number(codePage);
    iconv_t cd = iconv_open("UTF-8", name.constData());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);
    QByteArray in = bytes;
    QByteArray out(in.size() * 4 + 4, '\0');
    char* src = in.data();
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    while (srcLeft > 0 && iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
        // A byte the code page does not define becomes a replacement character.
        if (dstLeft < 3)
            break;
        *dst++ = '\xEF';
        *dst++ = '\xBF';
        *dst++ = '\xBD';
        dstLeft -= 3;
        ++src;
        --srcLeft;
    }
    iconv_close(cd);
    out.truncate(static_cast<qsizetype>(dst - out.data()));
    return QString::fromUtf8(out);
}

class RtfReader {
public:
    RtfReader(const QString& rtf, double pixelsPerPoint) : rtf_(rtf), pixelsPerPoint_(pixelsPerPoint) {}

    QString Html() {
        while (pos_ < rtf_.size()) {
            const QChar c = rtf_[pos_++];
            if (c == u'{') {
                flushBytes();
                stack_.push_back(state_);
            } else if (c == u'}') {
                flushBytes();
                if (!stack_.empty()) {
                    state_ = stack_.back();
                    stack_.pop_back();
                }
            } else if (c == u'\\') {
                control();
            } else if (c == u'\r' || c == u'\n') {
                continue;
            } else {
                flushBytes();
                if (state_.colourTable && c == u';') {
                    colours_.push_back(colourSet_ ? colour_ : QString());
                    colour_.clear();
                    colourSet_ = false;
                    red_ = green_ = blue_ = 0;
                } else {
                    text(QString(c));
                }
            }
        }
        flushBytes();
        if (!paragraph_.isEmpty() || !run_.isEmpty())
            endParagraph();
        return QStringLiteral("<html><body style=\"white-space:pre-wrap\">") + html_ +
               QStringLiteral("</body></html>");
    }

private:
    void control() {
        if (pos_ >= rtf_.size())
            return;
        const QChar c = rtf_[pos_];
        if (!c.isLetter()) {
            ++pos_;
            symbol(c);
            return;
        }
        QString word;
        while (pos_ < rtf_.size() && rtf_[pos_].isLetter() && rtf_[pos_].unicode() < 128)
            word += rtf_[pos_++];
        bool hasParam = false;
        int param = 0;
        if (pos_ < rtf_.size() && (rtf_[pos_] == u'-' || rtf_[pos_].isDigit())) {
            const qsizetype start = pos_++;
            while (pos_ < rtf_.size() && rtf_[pos_].isDigit())
                ++pos_;
            param = rtf_.mid(start, pos_ - start).toInt(&hasParam);
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == u' ')
            ++pos_;
        if (word != QLatin1String("u"))
            flushBytes();
        controlWord(word, hasParam, param);
    }

    void symbol(QChar c) {
        switch (c.unicode()) {
        case '\'': {
            const bool ok = pos_ + 2 <= rtf_.size();
            const int byte = ok ? rtf_.mid(pos_, 2).toInt(nullptr, 16) : 0;
            pos_ = std::min(pos_ + 2, rtf_.size());
            if (skipChars_ > 0)
                --skipChars_;
            else if (!state_.skip)
                bytes_.append(static_cast<char>(byte));
            return;
        }
        case '*':
            state_.skip = true;
            return;
        case '~':
            text(QString(QChar(0xA0)));
            return;
        case '_':
            text(QStringLiteral("-"));
            return;
        case '-':
            return;
        case '\r':
        case '\n':
            flushBytes();
            endParagraph();
            return;
        default:
            flushBytes();
            text(QString(c));
        }
    }

    void controlWord(const QString& w, bool hasParam, int param) {
        static const QStringList skipped{QStringLiteral("fonttbl"),
                                         QStringLiteral("stylesheet"),
                                         QStringLiteral("info"),
                                         QStringLiteral("pict"),
                                         QStringLiteral("header"),
                                         QStringLiteral("footer"),
                                         QStringLiteral("headerl"),
                                         QStringLiteral("headerr"),
                                         QStringLiteral("footerl"),
                                         QStringLiteral("footerr"),
                                         QStringLiteral("footnote"),
                                         QStringLiteral("fldinst"),
                                         QStringLiteral("object"),
                                         QStringLiteral("listtable"),
                                         QStringLiteral("listoverridetable"),
                                         QStringLiteral("filetbl"),
                                         QStringLiteral("rsidtbl"),
                                         QStringLiteral("generator"),
                                         QStringLiteral("themedata"),
                                         QStringLiteral("colorschememapping"),
                                         QStringLiteral("latentstyles"),
                                         QStringLiteral("datastore"),
                                         QStringLiteral("xmlnstbl"),
                                         QStringLiteral("revtbl")};
        const bool on = !hasParam || param != 0;
        if (skipped.contains(w))
            state_.skip = true;
        else if (w == QLatin1String("colortbl"))
            state_.colourTable = true;
        else if (w == QLatin1String("red") || w == QLatin1String("green") || w == QLatin1String("blue")) {
            (w == QLatin1String("red") ? red_ : w == QLatin1String("green") ? green_ : blue_) = param;
            colour_ = QStringLiteral("#%1%2%3")
                          .arg(red_ & 255, 2, 16, QChar(u'0'))
                          .arg(green_ & 255, 2, 16, QChar(u'0'))
                          .arg(blue_ & 255, 2, 16, QChar(u'0'));
            colourSet_ = true;
        } else if (w == QLatin1String("ansicpg"))
            codePage_ = param;
        else if (w == QLatin1String("par"))
            endParagraph();
        else if (w == QLatin1String("line")) {
            flushRun();
            paragraph_ += QStringLiteral("<br/>");
        } else if (w == QLatin1String("pard"))
            align_ = QStringLiteral("left");
        else if (w == QLatin1String("ql"))
            align_ = QStringLiteral("left");
        else if (w == QLatin1String("qr"))
            align_ = QStringLiteral("right");
        else if (w == QLatin1String("qc"))
            align_ = QStringLiteral("center");
        else if (w == QLatin1String("qj"))
            align_ = QStringLiteral("justify");
        else if (w == QLatin1String("plain")) {
            state_.bold = state_.italic = state_.underline = state_.strike = false;
            state_.halfPoints = state_.colour = 0;
        } else if (w == QLatin1String("b"))
            state_.bold = on;
        else if (w == QLatin1String("i"))
            state_.italic = on;
        else if (w == QLatin1String("ul"))
            state_.underline = on;
        else if (w == QLatin1String("ulnone"))
            state_.underline = false;
        else if (w == QLatin1String("strike"))
            state_.strike = on;
        else if (w == QLatin1String("fs"))
            state_.halfPoints = std::max(0, param);
        else if (w == QLatin1String("cf"))
            state_.colour = std::max(0, param);
        else if (w == QLatin1String("uc"))
            state_.unicodeSkip = std::max(0, param);
        else if (w == QLatin1String("u")) {
            flushBytes();
            text(QString(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param))));
            skipChars_ = state_.unicodeSkip;
        } else if (w == QLatin1String("tab"))
            text(QStringLiteral("\t"));
        else if (w == QLatin1String("emdash"))
            text(QString(QChar(0x2014)));
        else if (w == QLatin1String("endash"))
            text(QString(QChar(0x2013)));
        else if (w == QLatin1String("bullet"))
            text(QString(QChar(0x2022)));
        else if (w == QLatin1String("lquote"))
            text(QString(QChar(0x2018)));
        else if (w == QLatin1String("rquote"))
            text(QString(QChar(0x2019)));
        else if (w == QLatin1String("ldblquote"))
            text(QString(QChar(0x201C)));
        else if (w == QLatin1String("rdblquote"))
            text(QString(QChar(0x201D)));
    }

    void text(const QString& t) {
        if (state_.skip || state_.colourTable)
            return;
        if (skipChars_ > 0) {
            --skipChars_;
            return;
        }
        if (!run_.isEmpty() && !(runState_ == state_))
            flushRun();
        runState_ = state_;
        run_ += t;
    }

    void flushBytes() {
        if (bytes_.isEmpty())
            return;
        const QString decoded = decodeAnsi(bytes_, codePage_);
        bytes_.clear();
        for (const QChar c : decoded) {
            if (!run_.isEmpty() && !(runState_ == state_))
                flushRun();
            runState_ = state_;
            run_ += c;
        }
    }

    void flushRun() {
        if (run_.isEmpty())
            return;
        QStringList style;
        if (runState_.bold)
            style << QStringLiteral("font-weight:bold");
        if (runState_.italic)
            style << QStringLiteral("font-style:italic");
        if (runState_.underline || runState_.strike)
            style << QStringLiteral("text-decoration:%1%2")
                         .arg(runState_.underline ? QStringLiteral("underline ") : QString(),
                              runState_.strike ? QStringLiteral("line-through") : QString());
        if (runState_.halfPoints > 0)
            style
                << QStringLiteral("font-size:%1px").arg(qRound(runState_.halfPoints / 2.0 * pixelsPerPoint_));
        if (runState_.colour > 0 && runState_.colour < static_cast<int>(colours_.size()) &&
            !colours_[static_cast<size_t>(runState_.colour)].isEmpty())
            style << QStringLiteral("color:") + colours_[static_cast<size_t>(runState_.colour)];
        const QString escaped = run_.toHtmlEscaped();
        paragraph_ += style.isEmpty()
                          ? escaped
                          : QStringLiteral("<span style=\"%1\">%2</span>").arg(style.join(u';'), escaped);
        run_.clear();
    }

    void endParagraph() {
        flushRun();
        html_ += QStringLiteral("<p align=\"%1\" style=\"margin:0\">%2</p>")
                     .arg(align_, paragraph_.isEmpty() ? QStringLiteral("&nbsp;") : paragraph_);
        paragraph_.clear();
    }

    const QString& rtf_;
    double pixelsPerPoint_;
    qsizetype pos_ = 0;
    RtfState state_, runState_;
    std::vector<RtfState> stack_;
    std::vector<QString> colours_;
    QString colour_;
    bool colourSet_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
    int codePage_ = 1252;
    int skipChars_ = 0;
    QByteArray bytes_;
    QString run_, paragraph_, html_;
    QString align_ = QStringLiteral("left");
};

constexpr double kScale = TOrvelCanvas::kFontScale;

} // namespace

bool IsRtf(const QString& text) {
    return text.trimmed().startsWith(QLatin1String("{\\rtf"));
}

QString RtfToHtml(const QString& rtf, double pixelsPerPoint) {
    return RtfReader(rtf, pixelsPerPoint).Html();
}

TRichText::TRichText(const TSiReportElement& element, const QString& text, int width)
    : doc_(std::make_unique<QTextDocument>()) {
    doc_->setDocumentMargin(0);
    doc_->setDefaultFont(TOrvelCanvas::ScaledFont(element));
    QTextOption option = doc_->defaultTextOption();
    const int horizontal = element.Alignment & eaHorizontalMask;
    option.setAlignment(horizontal == eaRight    ? Qt::AlignRight
                        : horizontal == eaCenter ? Qt::AlignHCenter
                                                 : Qt::AlignLeft);
    doc_->setDefaultTextOption(option);
    doc_->setTextWidth(std::max(1, width) * kScale);
    if (IsRtf(text))
        doc_->setHtml(RtfToHtml(text, 100.0 / 72.0 * kScale));
    else if (Qt::mightBeRichText(text))
        doc_->setHtml(BoundRichTextNesting(text));
    else
        doc_->setPlainText(text);
}

TRichText::~TRichText() = default;

namespace {

struct TRecentLayout {
    QString text;
    QString font;
    int width = 0;
    int alignment = 0;
    std::shared_ptr<const TRichText> layout;
};

// The user-interface thread only, as every layout; let go with the application, before the fonts.
std::vector<TRecentLayout>& recentLayouts() {
    static std::vector<TRecentLayout> recent;
    static const bool cleared = [] {
        qAddPostRoutine([] { recentLayouts().clear(); });
        return true;
    }();
    (void)cleared;
    return recent;
}

} // namespace

std::shared_ptr<const TRichText> TRichText::Shared(const TSiReportElement& element, const QString& text,
                                                   int width) {
    using Entry = TRecentLayout;
    std::vector<Entry>& recent = recentLayouts();
    constexpr size_t kKept = 4;
    const QString font = TOrvelCanvas::ScaledFont(element).key();
    const int alignment = element.Alignment & eaHorizontalMask;
    for (size_t i = 0; i < recent.size(); ++i) {
        const Entry& e = recent[i];
        if (e.width == width && e.alignment == alignment && e.font == font && e.text == text) {
            std::rotate(recent.begin(), recent.begin() + static_cast<std::ptrdiff_t>(i),
                        recent.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            return recent.front().layout;
        }
    }
    auto layout = std::make_shared<const TRichText>(element, text, width);
    recent.insert(recent.begin(), Entry{text, font, width, alignment, layout});
    if (recent.size() > kKept)
        recent.pop_back();
    return layout;
}

int TRichText::Height() const {
    return static_cast<int>(std::ceil(doc_->size().height() / kScale - 1e-6));
}

int TRichText::CutAt(int limit) const {
    const double room = limit * kScale;
    double best = 0;
    for (QTextBlock block = doc_->begin(); block.isValid(); block = block.next()) {
        const double top = doc_->documentLayout()->blockBoundingRect(block).top();
        const QTextLayout* layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const double bottom = top + line.y() + line.height();
            if (bottom > room + 1e-6)
                return static_cast<int>(
                    std::min(std::ceil(best / kScale - 1e-6), static_cast<double>(limit)));
            best = bottom;
        }
    }
    return static_cast<int>(std::min(std::ceil(best / kScale - 1e-6), static_cast<double>(limit)));
}

QStringList TRichText::PlainLines(int offset, int height) const {
    QStringList lines;
    for (QTextBlock block = doc_->begin(); block.isValid(); block = block.next()) {
        const QRectF bounds = doc_->documentLayout()->blockBoundingRect(block);
        // Blocks wholly above or below the piece are passed by without reading their text.
        if (bounds.bottom() / kScale < offset - 1e-6 || bounds.top() / kScale >= offset + height - 1e-6)
            continue;
        const double top = bounds.top();
        const QTextLayout* layout = block.layout();
        const QString text = block.text(); // once per block: a long block has many lines
        for (int i = 0; layout && i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const double y = (top + line.y()) / kScale;
            if (y + 1e-6 >= offset && y < offset + height - 1e-6)
                lines << text.mid(line.textStart(), line.textLength()).trimmed();
        }
    }
    return lines;
}

void TRichText::Draw(QPainter& painter, const QRect& box, int offset, int colour) const {
    painter.save();
    painter.translate(box.topLeft());
    painter.setClipRect(QRect(0, 0, box.width(), box.height()), Qt::IntersectClip);
    painter.scale(1.0 / kScale, 1.0 / kScale);
    painter.translate(0, -offset * kScale);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, TOrvelCanvas::PaletteColor(colour));
    context.clip = QRectF(0, offset * kScale, box.width() * kScale, box.height() * kScale);
    doc_->documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace lintaro
