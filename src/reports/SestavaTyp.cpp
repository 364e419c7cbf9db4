#include "reports/SestavaTyp.h"

#include "platform/Locale.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <map>

namespace lintaro {

namespace {

// Print columns and font sizes a page can show: a template asking for more is read with these.
constexpr int kMaxPrintColumns = 100;
constexpr int kMaxFontSize = 1000;

std::function<bool(const QString&)>& fontCheck() {
    static std::function<bool(const QString&)> check;
    return check;
}

// Old font names carry their code page as a suffix.
struct FontSuffix {
    const char* suffix;
    int charset;
};
constexpr FontSuffix kFontSuffixes[] = {
    {" CE", 238}, {" Greek", 161}, {" TUR", 162}, {" Baltic", 186}, {" CYR", 204}};

// Fields of a parsed line of the given tag, in template order.
bool isTag(const QStringList& f, const QString& tag) {
    return !f.isEmpty() && f[0] == tag;
}

// A name or font written as it stands, unless a comma or a leading quote would split or change it
// on reading: then it is quoted.
QString plainField(const QString& text) {
    return text.contains(u',') || text.startsWith(u'"') ? QuoteTemplateText(text) : text;
}

QString referenceText(const TSiReportElement& e) {
    return e.ReferenceName.isEmpty() ? QString::number(e.Reference) : plainField(e.ReferenceName);
}

QString number(int v) {
    return QString::number(v);
}

} // namespace

double TDesignGrid::CellWidth() const {
    if (!CharGrid)
        return GridX;
    static const double widths[] = {10.0, 100.0 / 12.0, 6.0};
    return widths[std::clamp(CharPitch, 0, 2)];
}

double TDesignGrid::CellHeight() const {
    if (!CharGrid)
        return GridY;
    static const double heights[] = {100.0 / 6.0, 25.0, 100.0 / 3.0};
    return heights[std::clamp(LinePitch, 0, 2)];
}

TSestavaTyp& TListDetailu::Add(const TSestavaTyp* parent) {
    auto detail = std::make_unique<TSestavaTyp>(nullptr);
    detail->subReport_ = true;
    detail->parentReport_ = parent;
    items_.push_back(std::move(detail));
    return *items_.back();
}

TSestavaTyp::TSestavaTyp(TComponent* owner) : TComponent(owner) {
    oddily_.Reset(0);
}

void TSestavaTyp::SetFontCheck(std::function<bool(const QString&)> check) {
    fontCheck() = std::move(check);
}

int TSestavaTyp::DataItemCount() const {
    return -1;
}

int TSestavaTyp::FindDataItem(const QString&) const {
    return -1;
}

int TSestavaTyp::depth() const {
    int d = 0;
    for (const TSestavaTyp* p = parentReport_; p; p = p->parentReport_)
        ++d;
    return d;
}

void TSestavaTyp::SetPredloha(const TPredloha& predloha) {
    predloha_ = predloha;
    parse();
}

void TSestavaTyp::parse() {
    skupiny_.Clear();
    funkce_.Clear();
    detaily_.Clear();
    VersionA = VersionB = VersionC = 0;
    PageSetup = TPageSetup();
    Value5 = 0;
    Grid = TDesignGrid();
    BackgroundSettings = TBackgroundSettings();

    std::vector<QStringList> lines;
    lines.reserve(static_cast<size_t>(predloha_.Lines().size()));
    for (const QString& line : predloha_.Lines())
        if (line.size() > 1)
            lines.push_back(SplitTemplateLine(line));

    readInfoLines(lines);

    // User functions, in order.
    for (const QStringList& f : lines) {
        if (!isTag(f, QStringLiteral("F")))
            continue;
        TRadekFunkce fn;
        fn.Name = f.value(2);
        fn.Popis = TemplateText(f, 3);
        fn.ValueType =
            TemplateInt(f, 4) == TRadekFunkce::thText ? TRadekFunkce::thText : TRadekFunkce::thNumeric;
        fn.InitialValue = TemplateText(f, 5);
        fn.Reset = TemplateInt(f, 6);
        fn.Expression = TemplateText(f, 7);
        fn.Aggregation = TemplateInt(f, 8);
        fn.Width = TemplateInt(f, 9);
        fn.Decimals = TemplateInt(f, 10);
        fn.SetNumberFormat(TemplateInt(f, 11, ffFixed));
        funkce_.Add(fn);
    }

    // Sections, one tag after another; a sub-report has no page head and foot.
    for (int type = 0; type < oddily_.Count(); ++type) {
        TOddilSestavy& section = oddily_.Item(type);
        section.Columns = PageSetup.Columns;
        section.ColumnGap = PageSetup.ColumnGap;
        if (subReport_ && (type == stPageHead || type == stPageFoot))
            continue;
        const QString tag = TOddilSestavy::Tag(type);
        for (const QStringList& f : lines)
            if (isTag(f, tag))
                readElement(f, section);
    }

    // Sub-reports: every line "D" + n + "," + a line of detail n's template.
    if (depth() >= kMaxDetailDepth)
        return;
    std::map<int, QStringList> details;
    for (const QString& line : predloha_.Lines()) {
        if (line.size() < 3 || line[0] != u'D' || !line[1].isDigit())
            continue;
        const qsizetype comma = line.indexOf(u',');
        if (comma < 0)
            continue;
        bool ok = false;
        const int n = QStringView(line).mid(1, comma - 1).toInt(&ok);
        if (!ok || n < 0 || n >= kMaxDetails)
            continue;
        details[n].append(line.mid(comma + 1));
    }
    if (details.empty())
        return;
    const int count = details.rbegin()->first + 1;
    for (int n = 0; n < count; ++n)
        detaily_.Add(this);
    for (const auto& [n, detailLines] : details)
        detaily_.Item(n).SetPredloha(TPredloha(detailLines));
}

void TSestavaTyp::readInfoLines(const std::vector<QStringList>& lines) {
    const QString info = QStringLiteral("I");
    // The version decides how the page set-up reads, wherever its line stands.
    for (const QStringList& f : lines)
        if (isTag(f, info) && TemplateInt(f, 1, -1) == 1) {
            VersionA = TemplateInt(f, 2);
            VersionB = TemplateInt(f, 3);
            VersionC = TemplateInt(f, 4);
        }
    int groupCount = 0;
    for (const QStringList& f : lines)
        if (isTag(f, info) && TemplateInt(f, 1, -1) == 4) {
            const int n = TemplateInt(f, 2, -1);
            if (n >= 0 && n < kMaxGroups)
                groupCount = std::max(groupCount, n + 1);
        }
    oddily_.Reset(groupCount);
    skupiny_.Resize(groupCount);

    for (const QStringList& f : lines) {
        if (!isTag(f, info))
            continue;
        switch (TemplateInt(f, 1, -1)) {
        case 0: {
            const QString description = TemplateText(f, 2);
            if (!description.isEmpty())
                Popis = description;
            break;
        }
        case 2: {
            TPageSetup& p = PageSetup;
            int i = 2;
            p.Orientation = TemplateInt(f, i++);
            if (VersionA > 0) {
                p.Width = TemplateLength(f, i++);
                p.Height = TemplateLength(f, i++);
            }
            p.Left = TemplateLength(f, i++);
            p.Right = TemplateLength(f, i++);
            p.Top = TemplateLength(f, i++);
            p.Bottom = TemplateLength(f, i++);
            p.Columns = TemplateIntIn(f, i++, 1, 1, kMaxPrintColumns);
            p.ColumnGap = TemplateLength(f, i++);
            p.Spare = TemplateInt(f, i++);
            break;
        }
        case 3: {
            const int index = TemplateInt(f, 2, -1);
            if (index < 0 || index >= stGroupBase)
                break;
            TOddilSestavy& s = oddily_.Item(index);
            s.Visible = TemplateInt(f, 3) != 0;
            s.Height = TemplateLength(f, 4);
            s.Options = TemplateInt(f, 5);
            break;
        }
        case 4: {
            const int n = TemplateInt(f, 2, -1);
            if (n < 0 || n >= groupCount)
                break;
            TPolSkup& g = skupiny_.Item(n);
            const QString item = f.value(3).trimmed();
            bool isNumber = false;
            const int index = item.toInt(&isNumber);
            g.ItemName = isNumber || item.isEmpty() ? QString() : item;
            g.ItemIndex = isNumber ? index : 0;
            if (!g.ItemName.isEmpty())
                g.ItemIndex = std::max(0, FindDataItem(g.ItemName));
            TOddilSestavy& start = oddily_.Item(g.StartSection());
            TOddilSestavy& end = oddily_.Item(g.EndSection());
            start.Visible = TemplateInt(f, 4) != 0;
            start.Height = TemplateLength(f, 5);
            end.Visible = TemplateInt(f, 6) != 0;
            end.Height = TemplateLength(f, 7);
            g.NewPage = TemplateInt(f, 8) != 0;
            break;
        }
        case 5:
            Value5 = TemplateInt(f, 2);
            break;
        case 6: {
            TDesignGrid& g = Grid;
            g.CharGrid = TemplateInt(f, 2) == 1;
            g.GridX = TemplateLength(f, 3, 8);
            g.GridY = TemplateLength(f, 4, 8);
            if (g.GridX < 1)
                g.GridX = 8;
            if (g.GridY < 1)
                g.GridY = 8;
            g.LinePitch = TemplateInt(f, 5);
            g.CharPitch = TemplateInt(f, 6, 1);
            g.ShowGrid = TemplateInt(f, 7) != 0;
            g.SnapToGrid = TemplateInt(f, 8) != 0;
            break;
        }
        case 7: {
            TBackgroundSettings& b = BackgroundSettings;
            b.OwnBackground = TemplateInt(f, 2) != 0;
            b.PrintBackground = TemplateInt(f, 3) != 0;
            b.OwnBox = TemplateInt(f, 4) != 0;
            b.Left = TemplateLength(f, 5);
            b.Top = TemplateLength(f, 6);
            b.Width = TemplateLength(f, 7);
            b.Height = TemplateLength(f, 8);
            b.PictureName = TemplateText(f, 9);
            break;
        }
        default:
            break;
        }
    }
}

void TSestavaTyp::readElement(const QStringList& f, TOddilSestavy& section) {
    TSiReportElement e;
    e.Kind = TemplateInt(f, 1);
    if (!e.IsTextKind() && !e.IsGraphicKind() && e.Kind != ekSubReport)
        return;     // an unknown kind prints nothing
    e.PenWidth = 0; // a line that leaves fields out reads them as 0
    e.BrushColor = 0;

    const QString ref = f.value(2).trimmed();
    if (!ref.isEmpty() && !ref[0].isDigit() && !(ref[0] == u'-' && ref.size() > 1 && ref[1].isDigit())) {
        // A name: a data item for kinds 2 and 3, a user function for kind 6.
        // Cut to its 32 characters; a cut that ends in a blank keeps no blank, as reading trims.
        e.ReferenceName = ref.left(32).trimmed();
        if (e.Kind == ekDataItem || e.Kind == ekDataLabel)
            e.Reference = std::max(0, FindDataItem(e.ReferenceName));
        else if (e.Kind == ekFunction)
            e.Reference = std::max(0, funkce_.IndexOf(e.ReferenceName));
    } else {
        e.Reference = TemplateInt(f, 2);
    }
    if ((e.Kind == ekDataItem || e.Kind == ekDataLabel) && DataItemCount() >= 0 &&
        (e.Reference < 0 || e.Reference >= DataItemCount()))
        e.Reference = 0;
    // Older templates had no page count: variables from 4 on move up by one.
    if (e.Kind == ekVariable && e.ReferenceName.isEmpty() && VersionA < 2 && VersionC < 3 && e.Reference >= 4)
        ++e.Reference;

    e.Left = TemplateLength(f, 3);
    e.Top = TemplateLength(f, 4);
    e.Width = TemplateLength(f, 5);
    e.Height = TemplateLength(f, 6);

    if (e.IsTextKind()) {
        e.FontName = f.value(7);
        e.FontSize = TemplateIntIn(f, 8, 0, -kMaxFontSize, kMaxFontSize);
        e.FontColor = TemplateInt(f, 9);
        e.FontStyle = TemplateInt(f, 10);
        e.Alignment = TemplateInt(f, 11);
        e.Flags2 = TemplateInt(f, 12);
        e.Charset = TemplateInt(f, 13);
        e.Text = TemplateText(f, 14);
        e.Spacing = TemplateLength(f, 15);
        e.Angle = TemplateInt(f, 16);
        e.Third = TemplateInt(f, 17);
        const auto& installed = fontCheck();
        if (!installed || !installed(e.FontName))
            for (const FontSuffix& s : kFontSuffixes)
                if (e.FontName.endsWith(QLatin1String(s.suffix))) {
                    e.FontName.chop(static_cast<qsizetype>(qstrlen(s.suffix)));
                    e.Charset = s.charset;
                    break;
                }
    } else if (e.IsGraphicKind()) {
        e.PenWidth = TemplateLength(f, 8);
        e.PenColor = TemplateInt(f, 9);
        e.PenStyle = TemplateInt(f, 10);
        e.DrawFlags = TemplateInt(f, 11);
        e.BrushColor = TemplateInt(f, 12);
        e.BrushStyle = TemplateInt(f, 13);
        if (e.Kind == ekPicture || e.Kind == ekBarcode)
            e.FileName = TemplateText(f, 14);
        if (e.Kind == ekBarcode) {
            e.Spacing = TemplateLength(f, 15);
            e.Angle = TemplateInt(f, 16);
            e.Third = TemplateInt(f, 17);
        }
    }
    section.Elements.push_back(e);
}

TPredloha TSestavaTyp::WritePredloha() const {
    QStringList out;
    const QString sep = QStringLiteral(",");
    out << QStringLiteral("I,0,") + QuoteTemplateText(Popis);
    out << QStringLiteral("I,1,4,39,122");
    const TPageSetup& p = PageSetup;
    out << QStringList{QStringLiteral("I,2"), number(p.Orientation), number(p.Width), number(p.Height),
                       number(p.Left),        number(p.Right),       number(p.Top),   number(p.Bottom),
                       number(p.Columns),     number(p.ColumnGap),   number(p.Spare)}
               .join(sep);
    for (int i = 0; i < stGroupBase; ++i) {
        const TOddilSestavy& s = oddily_.Item(i);
        out << QStringList{QStringLiteral("I,3"), number(i), number(s.Visible), number(s.Height),
                           number(s.Options)}
                   .join(sep);
    }
    for (int n = 0; n < skupiny_.Count(); ++n) {
        const TPolSkup& g = skupiny_.Item(n);
        const TOddilSestavy& start = oddily_.Item(g.StartSection());
        const TOddilSestavy& end = oddily_.Item(g.EndSection());
        out << QStringList{QStringLiteral("I,4"),
                           number(n),
                           g.ItemName.isEmpty() ? number(g.ItemIndex) : plainField(g.ItemName),
                           number(start.Visible),
                           number(start.Height),
                           number(end.Visible),
                           number(end.Height),
                           number(g.NewPage)}
                   .join(sep);
    }
    out << QStringLiteral("I,5,") + number(Value5);
    const TDesignGrid& g = Grid;
    out << QStringList{QStringLiteral("I,6"), number(g.CharGrid),  number(g.GridX),    number(g.GridY),
                       number(g.LinePitch),   number(g.CharPitch), number(g.ShowGrid), number(g.SnapToGrid)}
               .join(sep);
    const TBackgroundSettings& b = BackgroundSettings;
    out << QStringList{QStringLiteral("I,7"), number(b.OwnBackground), number(b.PrintBackground),
                       number(b.OwnBox),      number(b.Left),          number(b.Top),
                       number(b.Width),       number(b.Height),        QuoteTemplateText(b.PictureName)}
               .join(sep);
    for (int i = 0; i < funkce_.Count(); ++i) {
        const TRadekFunkce& f = funkce_.Item(i);
        out << QStringList{QStringLiteral("F"),   number(i),
                           plainField(f.Name),    QuoteTemplateText(f.Popis),
                           number(f.ValueType),   QuoteTemplateText(f.InitialValue),
                           number(f.Reset),       QuoteTemplateText(f.Expression),
                           number(f.Aggregation), number(f.Width),
                           number(f.Decimals),    number(f.NumberFormat())}
                   .join(sep);
    }
    for (int type = 0; type < oddily_.Count(); ++type) {
        if (subReport_ && (type == stPageHead || type == stPageFoot))
            continue;
        const QString tag = TOddilSestavy::Tag(type);
        for (const TSiReportElement& e : oddily_.Item(type).Elements) {
            QStringList f{tag,           number(e.Kind),  referenceText(e), number(e.Left),
                          number(e.Top), number(e.Width), number(e.Height)};
            if (e.IsTextKind()) {
                f << plainField(e.FontName) << number(e.FontSize) << number(e.FontColor)
                  << number(e.FontStyle) << number(e.Alignment) << number(e.Flags2) << number(e.Charset)
                  << QuoteTemplateText(e.Text) << number(e.Spacing) << number(e.Angle) << number(e.Third);
            } else if (e.IsGraphicKind()) {
                f << QString() << number(e.PenWidth) << number(e.PenColor) << number(e.PenStyle)
                  << number(e.DrawFlags) << number(e.BrushColor) << number(e.BrushStyle);
                if (e.Kind == ekPicture) {
                    QString name = e.FileName;
                    name.replace(u'\\', u'/');
                    f << QuoteTemplateText(name.mid(name.lastIndexOf(u'/') + 1));
                } else if (e.Kind == ekBarcode) {
                    f << QuoteTemplateText(e.FileName) << number(e.Spacing) << number(e.Angle)
                      << number(e.Third);
                }
            }
            out << f.join(sep);
        }
    }
    for (int n = 0; n < detaily_.Count(); ++n) {
        const QString prefix = QStringLiteral("D") + number(n) + sep;
        const TPredloha detail = detaily_.Item(n).WritePredloha();
        for (const QString& line : detail.Lines())
            out << prefix + line;
    }
    return TPredloha(out);
}

} // namespace lintaro
