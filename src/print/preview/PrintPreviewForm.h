#pragma once
// The print preview: builds a report's pages, shows one page at a time with zoom, and lets the user
// choose the printer, the page range and the number of copies, print, or save the pages as PDF.
// The printer index is the position in the printer list, where 0 is the default printer; the page
// range and the copies live in the report (StartPage, EndPage, PrintCopies).
#include "print/preview/PreviewPages.h"
#include "reports/ReportPictures.h"
#include "reports/SestVystup.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

QT_BEGIN_NAMESPACE
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QStatusBar;
QT_END_NAMESPACE

namespace lintaro {

class TSestava;

class TPrintPreviewForm : public QDialog {
public:
    explicit TPrintPreviewForm(QWidget* parent = nullptr);
    ~TPrintPreviewForm() override;

    // Builds the report's pages (the report stays the caller's) and shows the first.
    void SetReport(TSestava* report, int printerIndex = 0);
    // Shows pages that paint themselves instead of a report's; range and copies work the same.
    void SetPages(TPreviewPages pages, int printerIndex = 0);
    int PrinterIndex() const { return printerIndex_; }
    int CurrentPage() const { return page_; }
    int PageCount() const { return output_.PageCount(); }
    int Zoom() const { return zoom_; }
    const TSestVystup& Pages() const { return output_; }

    // The commands of the images and menus: "Print", "SavePdf", "PagePrev", "PageNext", "ZoomOut",
    // "ZoomIn", "Exit".
    void RunCommand(const QString& command);

    // Asks for the PDF file's name (empty: cancelled); tests replace it.
    std::function<QString(const QString& proposed)> ChoosePdfFileName;
    // Shows a message of the printing or the export; tests replace it.
    std::function<void(const QString& title, const QString& text)> ShowMessage;

    static constexpr int kMinZoom = 30;
    static constexpr int kMaxZoom = 300;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void applyLook();
    void restoreSettings();
    void storeSettings();
    // Refreshes one control by its name ("PrinterIndex", "PageFrom", "PageTo", "Copies", "Zoom",
    // "CurrentPage"), everything when empty.
    void refresh(const QString& name = {});
    void refreshPage();
    void refreshZoom();
    void refreshCommands();
    void valueEntered(QLineEdit* edit);
    void step(QLineEdit* edit, int delta);
    void setPageFrom(int value);
    void setPageTo(int value);
    void setCopies(int value);
    void showPage(int page);
    void print();
    void savePdf();
    QLabel* image(const QString& name) const;

    TSestava* report_ = nullptr;
    // With SetPages: the pages, and a report of our own that holds their range and copies.
    std::optional<TPreviewPages> pages_;
    std::unique_ptr<TSestava> pagesReport_;
    TSestVystup output_;
    int printerIndex_ = 0;
    int page_ = 1;
    int zoom_ = 100;
    int refreshing_ = 0;
    bool settingsRead_ = false;
    QImage pageImage_;
    TPageBackground background_;

    QComboBox* printers_ = nullptr;
    QLineEdit* pageFrom_ = nullptr;
    QLineEdit* pageTo_ = nullptr;
    QLineEdit* copies_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QWidget* panelPage_ = nullptr;
    QLabel* imagePage_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QMenu* popup_ = nullptr;
};

} // namespace lintaro
