#pragma once
// The data-aware report (TSestavaD: data source and data callbacks, operands of expressions) and the
// published report (TSestava: its properties and callbacks, and the loading and saving of its
// template). Template operations return the result codes of ReportMessages and pass every non-zero
// code with its message to OnError.
#include "reports/Expression.h"
#include "reports/ReportDataSet.h"
#include "reports/ReportMessages.h"
#include "reports/SestavaTyp.h"

#include <QImage>
#include <QStringList>
#include <cstddef>
#include <functional>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace lintaro {

// How a data callback moves the cursor; the result has bit 0 set at the beginning of the data and
// bit 1 at the end.
enum TStepMode { smFirst, smNext, smPrior, smLast };
enum { sdBeginOfData = 1, sdEndOfData = 2 };

class TSestavaD : public TSestavaTyp, public TExpressionResolver {
    LINTARO_COMPONENT(TSestavaD)
public:
    explicit TSestavaD(TComponent* owner = nullptr) : TSestavaTyp(owner) {}

    // The records the report runs over; not owned.
    TReportDataSet* DataSource = nullptr;

    std::function<QString(TSestavaD& report, int item)> OnGetData;
    std::function<int(TSestavaD& report, TStepMode mode)> OnStepData;
    std::function<void(TSestavaD& report, int item, TFieldType& type)> OnGetDataType;
    std::function<void(TSestavaD& report, int item, TFieldAlignment& alignment)> OnGetAlignment;
    // Paints a drawing-area element of the given size in pixels.
    std::function<void(TSestavaD& report, const TSiReportElement& element, QPainter& painter, int width,
                       int height)>
        OnPaintBox;

    int DataItemCount() const override;
    int FindDataItem(const QString& name) const override;
    // The type of data item i as the callback or the data source gives it.
    TFieldType DataItemType(int item);
    QString DataItemText(int item);

    // Operands of expressions: data items, parameter lines and user functions of this report.
    TCalcType DataItem(int index) override;
    TCalcType Parameter(int index) override;
    TCalcType Function(int index) override;
    int FunctionIndex(const QString& name) override;
    int DataItemIndex(const QString& name) override { return FindDataItem(name); }
};

// Code page of the text export.
enum TExportLanguage { slUndefined, slASCII, slCP867, slCP852, slCP1250 };

// Elements one run places at most. A template whose sections repeat without end (a text spilling
// over thousands of pages, each with a full head) stops here with a message instead of taking all
// memory; a list of 20 000 records of ten elements each stays well inside.
constexpr std::size_t kMaxPlacedElements = 250000;

class TSestava : public TSestavaD {
    LINTARO_COMPONENT(TSestava)
public:
    explicit TSestava(TComponent* owner = nullptr) : TSestavaD(owner) {}

    // Assigning the template rebuilds the report from it, then OnSetPredloha runs.
    void SetPredloha(const TPredloha& predloha) override;

    QString IniFileName = QStringLiteral("VadeZIR.ini");
    int PrintCopies = 1;
    int StartPage = 1;
    int EndPage = 9999;
    int MaxRecords = 0; // 0: no limit
    std::size_t MaxPlacedElements = kMaxPlacedElements;
    TExportLanguage ExportLanguage = slUndefined;
    bool TiskJedenZaznam = false; // print only the current record
    QString ReportName;           // the template file, relative to ReportDir unless absolute
    bool AllowNullValues = false;
    QString ReportAlias;
    QString ReportDir;
    bool ReportDirIgnore = true; // the template lies in the program's folder
    bool PrintBackground = false;
    bool IsStored = false; // the template is kept inside the report
    QString Background;    // the background picture's name

    using Callback = std::function<void(TSestava& report)>;
    std::function<bool(TSestava& report)> OnUlozPredlohu;
    std::function<bool(TSestava& report)> OnUlozPredlohuJako;
    std::function<void(TSestava& report, TPredloha& predloha)> OnNactiPredlohu;
    Callback OnSetPredloha;
    std::function<void(TSestava& report, QStringList& names)> OnNactiSeznamObrazu;
    std::function<bool(TSestava& report, const QString& name, QImage& picture)> OnNactiObraz;
    // A named picture that is a vector drawing, asked before OnNactiObraz: it prints as lines and text
    // at any size instead of as pixels.
    std::function<bool(TSestava& report, const QString& name, QPicture& drawing)> OnNactiKresbu;
    std::function<void(TSestava& report, const TSiReportElement& element, QImage& picture)> OnPreparePicture;
    Callback OnVypoctiFunkce;
    std::function<void(TSestava& report, int sectionType, bool& print)> OnTiskOddilu;
    Callback BeforeEdit, BeforePreview, BeforePrint, BeforePrintPreview;
    Callback AfterEdit, AfterPreview, AfterPrint, AfterPrintPreview;
    std::function<void(TSestava& report, int code, const QString& message)> OnError;
    // The records a sub-report runs over (none: the sub-report prints nothing); not owned.
    std::function<TReportDataSet*(TSestava& report, const TSestavaTyp& subReport)> OnDataPodsestavy;
    // Asks a yes/no question (the data check offers to open a closed dataset); without it the
    // answer is yes, as a batch run expects.
    std::function<bool(const QString& question)> AskYesNo;

    // Without OnUlozPredlohuJako, save-as asks this chooser for a file name (filter and title given);
    // an empty answer cancels. The window registers its file dialog here.
    std::function<QString(const QString& filter, const QString& title)> ChooseSaveFileName;

    // The template file: ReportDir + ReportName, or the program's folder + ReportName when
    // ReportDirIgnore is set; empty when there is no ReportName. An alias is not supported by any
    // data source of this program: the message goes to LastMessage and the default path applies.
    QString TemplatePath();

    // Loads the template: from OnNactiPredlohu, else the stored lines, else the template file.
    int NactiPredlohu();
    // Saves the template: OnUlozPredlohu, else nothing when stored, else the file with a ".BAK"
    // backup of the previous one. A failed save leaves the previous file and backup as they were.
    int UlozPredlohu();
    // Saves under a new name: OnUlozPredlohuJako, else the file chosen by ChooseSaveFileName.
    int UlozPredlohuJako();
    // Saves as fileName: inside ReportDir it becomes a relative ReportName, elsewhere ReportDir is
    // cleared, ReportDirIgnore turned off and the whole path kept.
    int UlozPredlohuJako(const QString& fileName);

    // The message of the last failed or warning operation.
    QString LastMessage;

private:
    int fail(int code, const QString& message);
};

} // namespace lintaro
