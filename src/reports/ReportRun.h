#pragma once
// One run of a report: walks the records of the report's data and lays out its sections page by
// page into a TSestVystup, at 100 units per inch. Sub-reports run on the same pages at their
// element's position. The run reads the report's template, data and callbacks; the report owns the
// pages it produces. Result: 0, 3 when cancelled through the progress, 7 when the data check fails
// (the message in Message()), 6 when the pages would hold more than the report's MaxPlacedElements elements
// (the pages built so far stay, the message says why; a preview shows none of them).
#include "reports/ReportDataSet.h"
#include "reports/ReportPictures.h"
#include "reports/SestVystup.h"

#include <QDateTime>
#include <QString>
#include <cstddef>
#include <memory>
#include <vector>

namespace lintaro {

class TSestava;
class TSestavaTyp;
class TReportProgress;

class TReportRun {
public:
    TReportRun(TSestava& report, TSestVystup& output, TReportProgress* progress = nullptr);
    ~TReportRun();

    // Date and time the print variables show; the current ones unless set.
    QDateTime PrintTime;
    // Body positions to leave empty before the first record.
    int SkipBodies = 0;

    int Run();
    const QString& Message() const { return message_; }
    bool ForcedBreak = false; // the next section that checks for room breaks the page first

private:
    struct Context;
    int checkData(Context& ctx);
    void runCore(Context& ctx);
    void printSection(Context& ctx, int typeIndex);
    void placeBlock(Context& ctx, const std::vector<const TSiReportElement*>& elements, int bandTop,
                    int bandHeight, bool spill);
    // offset: the part of a variable-height text that starts this far down its content.
    void placeElement(Context& ctx, const TSiReportElement& element, int x, int y, int height,
                      int offset = 0);
    // The height of the part of a variable-height text from offset that fits into room, ending with a
    // whole line; 0 when no line fits.
    int textCut(Context& ctx, const TSiReportElement& element, int offset, int room);
    int pageLimit() const;
    QString elementText(Context& ctx, const TSiReportElement& element, bool& pageCount);
    int textHeight(const TSiReportElement& element, const QString& text, QStringList* lines) const;
    // The distance between the lines of a multi-line text: its font's line, and on a character grid at
    // least one grid row, so that every line of it has a row of its own on a text-only printer.
    int linePitch(const TSiReportElement& element) const;
    bool fits(Context& ctx, int height) const;
    void breakPage();
    void finishPage();
    void startPage();
    void groupHandling(Context& ctx);
    void loadRecord(Context& ctx);
    void computeFunctions(Context& ctx);
    bool step(Context& ctx, bool first);
    bool cancelled();
    int headHeight() const;
    int footHeight() const;
    // Print columns: bodies go across the page, column by column, then down one row.
    int columnCount(const Context& ctx) const;
    int columnOffset(int column) const;
    void skipBody(Context& ctx);
    void nextColumn();
    void closeRow();
    void printHeadOrFoot(int typeIndex);

    TSestava& report_;
    TSestVystup& out_;
    TReportProgress* progress_;
    QString message_;
    Context* main_ = nullptr; // the main report's state while it runs
    int pageBottom_ = 0;
    int curY_ = 0;
    int colOffset_ = 0;
    int column_ = 1;    // the column the next body goes into
    int rowBottom_ = 0; // where the open row of bodies ends
    int pageNo_ = 1;    // variable 3
    bool finished_ = false;
    bool cancelled_ = false;
    bool lastPage_ = false;
    std::size_t placed_ = 0;
    TReportPictureFiles pictureFiles_; // decoded once a run
    bool tooLarge_ = false;
    struct PageCountRef {
        int page;
        size_t index;
    };
    std::vector<PageCountRef> pageCounts_;
};

// The lines of text broken inside width (hundredths of an inch) with the element's font.
QStringList BreakText(const TSiReportElement& element, const QString& text, int width);
// The height of one line of the element's font in hundredths of an inch.
int LineHeight(const TSiReportElement& element);

} // namespace lintaro
