#include "reports/ReportRun.h"

#include "reports/OrvelCanvas.h"
#include "reports/PageLayoutCheck.h"
#include "reports/PaperFormat.h"
#include "reports/ReportFormat.h"
#include "reports/ReportMessages.h"
#include "reports/ReportPictures.h"
#include "reports/ReportProgress.h"
#include "reports/RichText.h"
#include "reports/Sestava.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>

namespace lintaro {

namespace {

// Text is measured on a device of 100 dots per inch, so a length in pixels is a length in hundredths
// of an inch whatever screen the program runs on.
const QImage& measuringDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(3937);
        image.setDotsPerMeterY(3937);
        return image;
    }();
    return device;
}

bool hasOption(const TSestavaTyp& core, int section, int option) {
    return (core.Oddily().Item(section).Options & option) != 0;
}

int visibleHeight(const TOddilSestavy& section) {
    return section.Visible ? section.Height : 0;
}

QStringList breakLines(const QFont& font, const QString& text, int width) {
    const QFontMetricsF metrics(font, &measuringDevice());
    const double limit = static_cast<double>(width) * TOrvelCanvas::kFontScale;
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QString line;
        for (const QString& word : paragraph.split(u' ')) {
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > limit) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    return lines;
}

} // namespace

int LineHeight(const TSiReportElement& element) {
    const QFontMetricsF metrics(TOrvelCanvas::ScaledFont(element), &measuringDevice());
    return static_cast<int>(std::ceil(metrics.height() / TOrvelCanvas::kFontScale));
}

QStringList BreakText(const TSiReportElement& element, const QString& text, int width) {
    // A long text cut across pages is broken once per piece: the last breaking is kept for them.
    static struct {
        QString text, font;
        int width = -1;
        QStringList lines;
    } last;
    const QFont scaled = TOrvelCanvas::ScaledFont(element);
    if (last.width == width && last.font == scaled.key() && last.text == text)
        return last.lines;
    last.lines = breakLines(scaled, text, width);
    last.text = text;
    last.font = scaled.key();
    last.width = width;
    return last.lines;
}

// The state of one report or sub-report within the run; it also answers the references of its
// functions' expressions.
struct TReportRun::Context : TExpressionResolver {
    TSestava* report = nullptr;
    TSestavaTyp* core = nullptr;
    TReportDataSet* data = nullptr;
    bool main = true;
    bool openedHere = false;
    int bookmark = -1;
    // The data items of the loaded record by number: all of the data source's, and those the
    // elements name, which alone reach a host that answers through OnGetData.
    std::map<int, QString> items;
    int recordNo = 1;
    int printed = 0;
    std::vector<int> groupRecord, groupNo;
    std::vector<QString> groupText;

    // The numbers of the items a record loads. Only the numbers the elements name, not every number
    // below them: a template may name item 2 000 000 000.
    std::vector<int> itemNumbers() const {
        const int count = main ? std::max(report->DataItemCount(), 0) : data ? data->FieldCount() : 0;
        std::vector<int> numbers(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            numbers[static_cast<size_t>(i)] = i;
        if (main && report->OnGetData) {
            for (int s = 0; s < core->Oddily().Count(); ++s)
                for (const TSiReportElement& e : core->Oddily().Item(s).Elements)
                    if (e.Kind == ekDataItem && e.Reference >= count)
                        numbers.push_back(e.Reference);
            // An element naming no item shows the first, as it does with a data source.
            if (!numbers.empty())
                numbers.push_back(0);
            std::sort(numbers.begin(), numbers.end());
            numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
        }
        return numbers;
    }
    QString liveText(int i) {
        if (main)
            return report->DataItemText(i);
        return data && i >= 0 && i < data->FieldCount() ? data->FieldDisplayText(i) : QString();
    }
    QString label(int i) const {
        return data && i >= 0 && i < data->FieldCount() ? data->FieldDisplayLabel(i) : QString();
    }
    QString groupItemText(const TPolSkup& group) {
        int i = group.ItemIndex;
        if (!group.ItemName.isEmpty()) {
            i = main ? report->FindDataItem(group.ItemName) : -1;
            if (!main && data)
                for (int f = 0; f < data->FieldCount(); ++f)
                    if (data->FieldName(f).compare(group.ItemName, Qt::CaseInsensitive) == 0)
                        i = f;
        }
        return liveText(i);
    }

    TCalcType DataItem(int index) override {
        if (main)
            return report->DataItem(index);
        return TCalcType::FromText(liveText(index));
    }
    TCalcType Parameter(int index) override { return report->Parameter(index); }
    TCalcType Function(int index) override {
        return index >= 0 && index < core->Funkce().Count() ? core->Funkce().Item(index).Value : TCalcType{};
    }
    int DataItemIndex(const QString& name) override {
        if (main)
            return report->FindDataItem(name);
        for (int f = 0; data && f < data->FieldCount(); ++f)
            if (data->FieldName(f).compare(name, Qt::CaseInsensitive) == 0)
                return f;
        return -1;
    }
    int FunctionIndex(const QString& name) override { return core->Funkce().IndexOf(name); }
    // A memo item's text is broken into lines whatever the element's flags say.
    bool memo(const TSiReportElement& e) const {
        if (e.Kind != ekDataItem)
            return false;
        if (main)
            return report->DataItemType(e.Reference) == ftMemo;
        return data && e.Reference >= 0 && e.Reference < data->FieldCount() &&
               data->FieldDataType(e.Reference) == ftMemo;
    }
};

TReportRun::TReportRun(TSestava& report, TSestVystup& output, TReportProgress* progress)
    : report_(report), out_(output), progress_(progress) {}

TReportRun::~TReportRun() = default;

int TReportRun::headHeight() const {
    return visibleHeight(report_.Oddily().Item(stPageHead));
}

int TReportRun::footHeight() const {
    return visibleHeight(report_.Oddily().Item(stPageFoot));
}

bool TReportRun::cancelled() {
    if (!cancelled_ && progress_ && progress_->Cancelled())
        cancelled_ = true;
    return cancelled_;
}

int TReportRun::checkData(Context& ctx) {
    if (!ctx.main || report_.OnStepData || report_.OnGetData)
        return ReportMessages::rrOK;
    if (!ctx.data) {
        message_ = ReportMessages::NoDataSource();
        return ReportMessages::rrNothingDone;
    }
    if (!ctx.data->Active()) {
        const bool open = !report_.AskYesNo || report_.AskYesNo(ReportMessages::OpenTableQuestion());
        if (!open)
            return ReportMessages::rrNothingDone;
        if (!ctx.data->Open()) {
            message_ = ReportMessages::TableNotOpened();
            return ReportMessages::rrNothingDone;
        }
        ctx.openedHere = true;
    }
    return ReportMessages::rrOK;
}

int TReportRun::Run() {
    if (!PrintTime.isValid())
        PrintTime = QDateTime::currentDateTime();
    Context ctx;
    ctx.report = &report_;
    ctx.core = &report_;
    ctx.data = report_.DataSource;
    main_ = &ctx;
    if (const QString problem = PageLayoutProblem(report_); !problem.isEmpty()) {
        message_ = problem;
        if (report_.OnError)
            report_.OnError(report_, ReportMessages::rrNotLoaded, message_);
        main_ = nullptr;
        return ReportMessages::rrNotLoaded;
    }
    if (const int check = checkData(ctx); check != ReportMessages::rrOK) {
        if (report_.OnError && !message_.isEmpty())
            report_.OnError(report_, check, message_);
        return check;
    }
    if (ctx.data && ctx.data->Active())
        ctx.bookmark = ctx.data->Bookmark();
    if (ctx.data)
        ctx.data->DisableControls();

    const TPageSetup& page = report_.PageSetup;
    pageBottom_ = PrintableHeight(page);
    out_.Clear();
    out_.AddPage();
    curY_ = 0;
    colOffset_ = 0;
    column_ = 1;
    rowBottom_ = 0;
    pageNo_ = 1;
    finished_ = false;
    cancelled_ = false;
    placed_ = 0;
    tooLarge_ = false;
    pageCounts_.clear();

    runCore(ctx);

    // The page count is known only now.
    const int pages = out_.PageCount();
    for (const PageCountRef& ref : pageCounts_) {
        TVystPrvek& element = out_.Page(ref.page).Prvky[ref.index];
        element.Text = FormatCounter(element.Style.Text, pages);
    }
    if (ctx.data && ctx.bookmark >= 0)
        ctx.data->GotoBookmark(ctx.bookmark);
    if (ctx.data)
        ctx.data->EnableControls();
    if (ctx.openedHere)
        ctx.data->Close();
    if (progress_)
        progress_->Hide();
    main_ = nullptr;
    if (tooLarge_ && !cancelled_) {
        message_ = ReportMessages::TooManyElements().replace(QLatin1String("%d"),
                                                             QString::number(report_.MaxPlacedElements));
        if (report_.OnError)
            report_.OnError(report_, ReportMessages::rrOutputError, message_);
        return ReportMessages::rrOutputError;
    }
    return cancelled_ ? ReportMessages::rrCancelled : ReportMessages::rrOK;
}

bool TReportRun::step(Context& ctx, bool first) {
    if (ctx.main && report_.OnStepData) {
        const int result = report_.OnStepData(report_, first ? smFirst : smNext);
        return (result & sdEndOfData) == 0;
    }
    if (!ctx.data || !ctx.data->Active())
        return false;
    if (first)
        ctx.data->First();
    else
        ctx.data->Next();
    return !ctx.data->Eof();
}

void TReportRun::loadRecord(Context& ctx) {
    ctx.items.clear();
    for (const int i : ctx.itemNumbers())
        ctx.items.emplace(i, ctx.liveText(i));
    ++ctx.recordNo;
    for (int& r : ctx.groupRecord)
        ++r;
}

void TReportRun::computeFunctions(Context& ctx) {
    ctx.core->Funkce().ComputeAll(&ctx);
    if (report_.OnVypoctiFunkce)
        report_.OnVypoctiFunkce(report_);
}

void TReportRun::runCore(Context& ctx) {
    TSestavaTyp& core = *ctx.core;
    // One record: stay on the current one.
    const bool oneRecord = ctx.main && report_.TiskJedenZaznam;
    const bool more = oneRecord ? !(ctx.data && ctx.data->Eof()) : step(ctx, true);
    if (!ctx.main && !more)
        return;

    const int groups = core.Skupiny().Count();
    ctx.groupRecord.assign(static_cast<size_t>(groups), 1);
    ctx.groupNo.assign(static_cast<size_t>(groups), 1);
    ctx.groupText.assign(static_cast<size_t>(groups), QString());

    core.Funkce().SetSkipNull(report_.AllowNullValues);
    core.Funkce().Reset(-1);
    loadRecord(ctx);
    computeFunctions(ctx);
    ctx.recordNo = 1;
    std::fill(ctx.groupRecord.begin(), ctx.groupRecord.end(), 1);
    for (int g = 0; g < groups; ++g)
        ctx.groupText[static_cast<size_t>(g)] = ctx.groupItemText(core.Skupiny().Item(g));

    printSection(ctx, stReportStart);
    if (ctx.main) {
        const TOddilSestavy& start = core.Oddily().Item(stReportStart);
        if (start.Visible && hasOption(core, stReportStart, soBreakAfterStart))
            breakPage();
        else if (core.Oddily().Item(stPageHead).Visible && !hasOption(core, stPageHead, soNoHeadOnFirst))
            printSection(ctx, stPageHead);
    }
    for (int g = 0; g < groups; ++g)
        printSection(ctx, core.Skupiny().Item(g).StartSection());
    if (ctx.main)
        for (int skip = 0; skip < SkipBodies; ++skip)
            skipBody(ctx);

    bool firstRecord = true;
    while (true) {
        if (!firstRecord)
            groupHandling(ctx);
        else if (!fits(ctx, visibleHeight(core.Oddily().Item(stBody))) && curY_ > headHeight())
            breakPage();
        firstRecord = false;
        if (progress_ && ctx.main)
            progress_->Show(ProgressMessages::Preparing() + QString::number(ctx.recordNo), true);
        printSection(ctx, stBody);
        ++ctx.printed;
        if (ctx.main && report_.TiskJedenZaznam)
            break;
        if (ctx.main && report_.MaxRecords > 0 && ctx.printed >= report_.MaxRecords)
            break;
        if (!more || !step(ctx, false) || finished_ || cancelled())
            break;
    }

    if (ctx.main)
        closeRow();
    for (int g = groups - 1; g >= 0; --g)
        printSection(ctx, core.Skupiny().Item(g).EndSection());

    const TOddilSestavy& end = core.Oddily().Item(stReportEnd);
    if (ctx.main && end.Visible && hasOption(core, stReportEnd, soBreakBeforeEnd))
        breakPage();
    const bool noFootOnLast = hasOption(report_, stPageFoot, soNoFootOnLast);
    if (end.Visible && ctx.main && hasOption(core, stReportEnd, soEndAtFoot)) {
        const int foot = noFootOnLast ? 0 : footHeight();
        const int target = pageBottom_ - end.Height - foot;
        if (target < curY_)
            breakPage();
        if (!finished_)
            curY_ = std::max(curY_, target);
    }
    lastPage_ = ctx.main;
    printSection(ctx, stReportEnd);
    lastPage_ = false;
    if (ctx.main && !finished_ && report_.Oddily().Item(stPageFoot).Visible && !noFootOnLast) {
        curY_ = pageBottom_ - footHeight();
        printSection(ctx, stPageFoot);
    }
}

void TReportRun::groupHandling(Context& ctx) {
    TSestavaTyp& core = *ctx.core;
    const int groups = core.Skupiny().Count();
    int firstChanged = groups;
    for (int g = 0; g < groups; ++g)
        if (ctx.groupItemText(core.Skupiny().Item(g)) != ctx.groupText[static_cast<size_t>(g)]) {
            firstChanged = g;
            break;
        }
    bool newPage = false;
    int startHeights = 0;
    if (ctx.main && firstChanged < groups)
        closeRow();
    for (int g = groups - 1; g >= firstChanged; --g) {
        const TPolSkup& group = core.Skupiny().Item(g);
        printSection(ctx, group.EndSection());
        core.Funkce().Reset(TRadekFunkce::rsGroup + group.Number);
        newPage = newPage || group.NewPage;
        startHeights += visibleHeight(core.Oddily().Item(group.StartSection()));
    }
    const bool bodyOnNewPage = hasOption(core, stBody, soBodyOnNewPage);
    if (newPage || bodyOnNewPage || !fits(ctx, visibleHeight(core.Oddily().Item(stBody)) + startHeights)) {
        if (ctx.main) {
            finishPage();
            loadRecord(ctx);
            core.Funkce().Reset(TRadekFunkce::rsPage);
            computeFunctions(ctx);
            if (out_.PageCount() >= report_.EndPage)
                finished_ = true;
            else
                startPage();
        } else {
            breakPage();
            loadRecord(ctx);
            computeFunctions(ctx);
        }
    } else {
        loadRecord(ctx);
        computeFunctions(ctx);
    }
    for (int g = firstChanged; g < groups; ++g) {
        const TPolSkup& group = core.Skupiny().Item(g);
        ctx.groupRecord[static_cast<size_t>(g)] = 1;
        ++ctx.groupNo[static_cast<size_t>(g)];
        if (g + 1 < groups)
            ctx.groupNo[static_cast<size_t>(g + 1)] = 0;
        ctx.groupText[static_cast<size_t>(g)] = ctx.groupItemText(group);
        printSection(ctx, group.StartSection());
    }
}

bool TReportRun::fits(Context& /*ctx*/, int height) const {
    // The report end of a report without a foot on its last page may use the foot's room.
    const int foot = lastPage_ && hasOption(report_, stPageFoot, soNoFootOnLast) ? 0 : footHeight();
    return pageBottom_ - foot - curY_ >= height;
}

void TReportRun::finishPage() {
    if (report_.Oddily().Item(stPageFoot).Visible) {
        curY_ = pageBottom_ - footHeight();
        printHeadOrFoot(stPageFoot);
    }
}

void TReportRun::startPage() {
    if (progress_)
        progress_->Yield();
    out_.AddPage();
    ++pageNo_;
    curY_ = 0;
    // A new page starts its bodies in the first column.
    if (column_ > 1) {
        column_ = 1;
        colOffset_ = 0;
    }
    rowBottom_ = 0;
    if (report_.Oddily().Item(stPageHead).Visible) {
        printHeadOrFoot(stPageHead);
    }
}

// Head and foot span the whole page, whatever column or sub-report the run stands in.
void TReportRun::printHeadOrFoot(int typeIndex) {
    const int offset = colOffset_;
    colOffset_ = 0;
    printSection(*main_, typeIndex);
    colOffset_ = offset;
}

int TReportRun::columnCount(const Context& ctx) const {
    return ctx.main ? std::max(1, ctx.core->Oddily().Item(stBody).Columns) : 1;
}

int TReportRun::columnOffset(int column) const {
    const TPageSetup& page = report_.PageSetup;
    const int columns = std::max(1, page.Columns);
    // Computed from the first column each time, so that rounding does not add up across the page.
    return (column - 1) * (PrintableWidth(page) + page.ColumnGap) / columns;
}

void TReportRun::nextColumn() {
    if (++column_ <= std::max(1, report_.PageSetup.Columns)) {
        colOffset_ = columnOffset(column_);
        return;
    }
    column_ = 1;
    colOffset_ = 0;
    curY_ = std::max(curY_, rowBottom_);
}

void TReportRun::closeRow() {
    if (column_ == 1)
        return;
    column_ = 1;
    colOffset_ = 0;
    curY_ = std::max(curY_, rowBottom_);
}

void TReportRun::skipBody(Context& ctx) {
    const int height = visibleHeight(ctx.core->Oddily().Item(stBody));
    if (columnCount(ctx) == 1) {
        curY_ += height;
        return;
    }
    rowBottom_ = column_ == 1 ? curY_ + height : std::max(rowBottom_, curY_ + height);
    nextColumn();
}

void TReportRun::breakPage() {
    if (finished_)
        return;
    finishPage();
    if (out_.PageCount() >= report_.EndPage) {
        finished_ = true;
        return;
    }
    startPage();
    cancelled();
}

void TReportRun::printSection(Context& ctx, int typeIndex) {
    if (finished_ || typeIndex >= ctx.core->Oddily().Count())
        return;
    const TOddilSestavy& section = ctx.core->Oddily().Item(typeIndex);
    if (!section.Visible)
        return;
    if (!ctx.main && (typeIndex == stPageHead || typeIndex == stPageFoot))
        return;
    bool print = true;
    if (report_.OnTiskOddilu)
        report_.OnTiskOddilu(report_, typeIndex, print);
    if (!print)
        return;
    if (typeIndex == stPageHead)
        ForcedBreak = false;
    // The window's progress gets its turn once the section is out.
    struct YieldAfter {
        TReportProgress* progress;
        ~YieldAfter() {
            if (progress)
                progress->Yield();
        }
    } yieldAfter{progress_};
    const bool block = typeIndex == stPageHead || typeIndex == stPageFoot;
    if (!block && typeIndex != stReportStart &&
        !(typeIndex == stReportEnd && hasOption(report_, stPageFoot, soNoFootOnLast))) {
        if (ForcedBreak || !fits(ctx, section.Height)) {
            // A section taller than an empty page starts where it is and spills instead.
            if (ForcedBreak || curY_ > headHeight())
                breakPage();
            if (finished_)
                return;
        }
    }

    std::vector<const TSiReportElement*> elements;
    for (const TSiReportElement& e : section.Elements)
        elements.push_back(&e);
    std::stable_sort(elements.begin(), elements.end(),
                     [](const TSiReportElement* a, const TSiReportElement* b) { return a->Top < b->Top; });
    if (block) {
        placeBlock(ctx, elements, 0, section.Height, false);
        return;
    }
    if (typeIndex == stBody && columnCount(ctx) > 1) {
        // A body in columns prints whole in its column; the row ends below its tallest body.
        const int rowTop = curY_;
        if (column_ == 1)
            rowBottom_ = rowTop;
        placeBlock(ctx, elements, 0, section.Height, false);
        rowBottom_ = std::max(rowBottom_, curY_);
        curY_ = rowTop;
        nextColumn();
        return;
    }
    // Cut into bands at the top edges of variable-height and sub-report elements.
    std::vector<int> cuts{0};
    for (const TSiReportElement* e : elements) {
        const bool cut = (e->IsTextKind() && (e->Alignment & eaVariableHeight)) ||
                         (typeIndex == stBody && e->Kind == ekSubReport);
        if (cut && e->Top > cuts.back() && e->Top < section.Height)
            cuts.push_back(e->Top);
    }
    cuts.push_back(std::max(section.Height, cuts.back()));
    for (size_t b = 0; b + 1 < cuts.size() && !finished_; ++b) {
        std::vector<const TSiReportElement*> band;
        for (const TSiReportElement* e : elements) {
            const bool last = b + 2 == cuts.size();
            if (e->Top >= cuts[b] && (e->Top < cuts[b + 1] || (last && e->Top >= cuts[b + 1])))
                band.push_back(e);
        }
        placeBlock(ctx, band, cuts[b], cuts[b + 1] - cuts[b], true);
    }
}

void TReportRun::placeBlock(Context& ctx, const std::vector<const TSiReportElement*>& elements, int bandTop,
                            int bandHeight, bool spill) {
    // Variable-height texts take the height their lines need; what lies below them moves down.
    int grow = 0;
    std::vector<int> heights;
    for (const TSiReportElement* e : elements) {
        int h = e->Height;
        if (e->IsTextKind() && (e->Alignment & eaVariableHeight)) {
            bool pageCount = false;
            h = std::max(1, textHeight(*e, elementText(ctx, *e, pageCount), nullptr));
            grow = std::max(grow, h - e->Height);
        }
        heights.push_back(h);
    }
    const int height = bandHeight + grow;
    if (spill && !fits(ctx, height) && curY_ > headHeight())
        breakPage();
    if (finished_)
        return;
    int base = curY_ - bandTop;
    int shift = 0; // how far the rest of a spilled band moved up to the top of a new page
    int bottom = curY_ + height;
    bool split = false; // a text was cut: nothing goes above the top of the page it continued on
    for (size_t i = 0; i < elements.size() && !finished_; ++i) {
        const TSiReportElement& e = *elements[i];
        int top =
            e.Top + (e.Top > bandTop && !(e.IsTextKind() && (e.Alignment & eaVariableHeight)) ? grow : 0);
        if (e.Kind == ekSubReport) {
            TSestavaTyp* sub = e.Reference >= 0 && e.Reference < ctx.core->Detaily().Count()
                                   ? &ctx.core->Detaily().Item(e.Reference)
                                   : nullptr;
            if (!sub)
                continue;
            Context subCtx;
            subCtx.report = &report_;
            subCtx.core = sub;
            subCtx.main = false;
            subCtx.data = report_.OnDataPodsestavy ? report_.OnDataPodsestavy(report_, *sub) : nullptr;
            const int pagesBefore = out_.PageCount();
            const int savedOffset = colOffset_;
            curY_ = base + top - shift;
            colOffset_ += e.Left;
            runCore(subCtx);
            colOffset_ = savedOffset;
            if (out_.PageCount() != pagesBefore) {
                bottom = curY_;
                base = curY_ - top;
                shift = 0;
            } else {
                bottom = std::max(bottom, curY_);
            }
            continue;
        }
        int y = base + top - shift;
        if (split)
            y = std::max(y, headHeight());
        const int h = heights[i];
        const bool variable = e.IsTextKind() && (e.Alignment & eaVariableHeight);
        if (spill && variable && y + h > pageLimit()) {
            // A text taller than the room left is cut after its last whole line and goes on at the
            // top of the next page, as often as it takes.
            const int x = colOffset_ + e.Left;
            int done = 0;
            while (y + (h - done) > pageLimit()) {
                const int cut = textCut(ctx, e, done, pageLimit() - y);
                if (cut > 0) {
                    placeElement(ctx, e, x, y, cut, done);
                    done += cut;
                } else if (y <= headHeight()) {
                    break; // a line taller than an empty page: the rest goes as it is
                }
                breakPage();
                if (finished_)
                    return;
                y = curY_;
            }
            placeElement(ctx, e, x, y, h - done, done);
            // What lies below the text follows its end.
            base = y + (h - done) - (e.Top + h);
            shift = 0;
            bottom = std::max(base + bandTop + height, y + (h - done));
            split = true;
            continue;
        }
        if (spill && y + h > pageBottom_ - footHeight() && y > headHeight()) {
            breakPage();
            if (finished_)
                return;
            shift = top;
            base = curY_;
            y = curY_;
            bottom = curY_ + height - (top - bandTop);
        }
        placeElement(ctx, e, colOffset_ + e.Left, y, h);
    }
    curY_ = std::max(bottom, curY_);
}

int TReportRun::pageLimit() const {
    return pageBottom_ - footHeight();
}

int TReportRun::textCut(Context& ctx, const TSiReportElement& e, int offset, int room) {
    if (room <= 0)
        return 0;
    bool pageCount = false;
    const QString text = elementText(ctx, e, pageCount);
    if (e.Alignment & eaRichText)
        return std::max(0, TRichText::Shared(e, text, e.Width)->CutAt(offset + room) - offset);
    const int line = linePitch(e);
    return room / line * line;
}

int TReportRun::textHeight(const TSiReportElement& element, const QString& text, QStringList* lines) const {
    if (element.Alignment & eaRichText)
        return TRichText::Shared(element, text, element.Width)->Height();
    const QStringList broken = BreakText(element, text, element.Width);
    if (lines)
        *lines = broken;
    return static_cast<int>(broken.size()) * linePitch(element);
}

int TReportRun::linePitch(const TSiReportElement& element) const {
    const int font = std::max(1, LineHeight(element));
    if (!report_.Grid.CharGrid)
        return font;
    return std::max(font, static_cast<int>(std::ceil(report_.Grid.CellHeight())));
}

QString TReportRun::elementText(Context& ctx, const TSiReportElement& e, bool& pageCount) {
    pageCount = false;
    switch (e.Kind) {
    case ekText:
        return e.Text;
    case ekDataItem: {
        // A number outside the record's items shows its first item.
        auto item = ctx.items.find(e.Reference);
        if (item == ctx.items.end())
            item = ctx.items.find(0);
        return item != ctx.items.end() ? item->second : QString();
    }
    case ekDataLabel:
        return ctx.label(e.Reference);
    case ekParameter:
        return e.Reference >= 0 && e.Reference < report_.Parametry.size() ? report_.Parametry[e.Reference]
                                                                          : QString();
    case ekFunction:
        return e.Reference >= 0 && e.Reference < ctx.core->Funkce().Count()
                   ? ctx.core->Funkce().Item(e.Reference).Text()
                   : QString();
    case ekVariable: {
        const int v = e.Reference;
        if (v == rvPrintDate)
            return e.Text.isEmpty() ? ShortDateText(PrintTime.date())
                                    : FormatDateTimePattern(PrintTime, e.Text);
        if (v == rvPrintTime)
            return e.Text.isEmpty() ? ShortTimeText(PrintTime.time())
                                    : FormatDateTimePattern(PrintTime, e.Text);
        qint64 value = 0;
        if (v == rvRecordNo)
            value = ctx.recordNo;
        else if (v == rvPageNo)
            value = pageNo_;
        else if (v == rvPageCount) {
            pageCount = true;
            value = out_.PageCount();
        } else if (v >= rvGroupRecord) {
            const size_t g = static_cast<size_t>((v - rvGroupRecord) / 2);
            const std::vector<int>& counters = (v - rvGroupRecord) % 2 == 0 ? ctx.groupRecord : ctx.groupNo;
            value = g < counters.size() ? counters[g] : 0;
        }
        return FormatCounter(e.Text, value);
    }
    case ekBarcode: {
        // Plain digits stand as they are, so that leading zeros survive; anything else is an expression.
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        if (digits.match(e.FileName).hasMatch())
            return e.FileName;
        const TExpressionResult r = EvaluateExpression(e.FileName, &ctx);
        return r.Error == 0 ? r.Value.Text : QString();
    }
    default:
        return {};
    }
}

void TReportRun::placeElement(Context& ctx, const TSiReportElement& e, int x, int y, int height, int offset) {
    if (placed_ >= report_.MaxPlacedElements) {
        // Finished: every loop of the run ends at its next page or record.
        tooLarge_ = finished_ = true;
        return;
    }
    ++placed_;
    TVystPrvek out;
    out.Kind = e.Kind;
    out.Box = QRect(x, y, e.Width, height);
    out.Style = e;
    bool pageCount = false;
    out.Text = elementText(ctx, e, pageCount);
    if (ctx.memo(e))
        out.Style.Alignment |= eaMultiLine;
    const int alignment = out.Style.Alignment;
    if (e.IsTextKind() && (alignment & eaRichText)) {
        // Laid out again when drawn; a part of a text cut across pages starts further down.
        out.TextOffset = offset;
    } else if (e.IsTextKind() && (alignment & (eaMultiLine | eaVariableHeight))) {
        QStringList lines;
        textHeight(e, out.Text, &lines);
        const int line = linePitch(e);
        out.LinePitch = line;
        if (!(e.Alignment & eaVariableHeight)) {
            const int keep = std::max(1, height / line);
            while (lines.size() > keep)
                lines.removeLast();
        } else if (offset > 0 || height < lines.size() * line) {
            lines = lines.mid(offset / line, std::max(1, height / line));
        }
        out.Text = lines.join(u'\n');
    }
    if (e.Kind == ekPicture &&
        !(report_.OnNactiKresbu && report_.OnNactiKresbu(report_, e.FileName, out.Drawing)))
        out.Picture = LoadReportPicture(report_, e.FileName, e, &pictureFiles_);
    if (e.Kind == ekPaintBox && report_.OnPaintBox && e.Width > 0 && height > 0) {
        // Painted at k × 100 dots per inch, k from the brush-style field.
        const int k = std::clamp(e.BrushStyle, 1, 6);
        QImage picture(std::max(1, k * e.Width - 1), std::max(1, k * height - 1), QImage::Format_ARGB32);
        picture.setDotsPerMeterX(3937 * k);
        picture.setDotsPerMeterY(3937 * k);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        report_.OnPaintBox(report_, e, painter, picture.width(), picture.height());
        painter.end();
        out.Picture = picture;
    }
    TStranaPrvku& page = out_.Page(out_.PageCount() - 1);
    if (pageCount)
        pageCounts_.push_back({out_.PageCount() - 1, page.Prvky.size()});
    page.Prvky.push_back(std::move(out));
}

} // namespace lintaro
