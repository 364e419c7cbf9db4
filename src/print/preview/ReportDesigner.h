#pragma once
// The template designer, as small as it can be and still be useful: the template's page set-up,
// sections and elements in a tree, the chosen element's or the page's properties in a form, and the
// first page as it would print. Saving writes the template back through the report's UlozPredlohu.
#include <QDialog>

#include <functional>

QT_BEGIN_NAMESPACE
class QFormLayout;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

class TSestava;
struct TSiReportElement;

class TReportDesigner : public QDialog {
public:
    explicit TReportDesigner(TSestava& report, QWidget* parent = nullptr);
    ~TReportDesigner() override;

    bool Modified() const { return modified_; }
    // Writes the edited template into the report and saves it; false after showing why not.
    bool Save();
    // The first page rendered as it would print, at 100 units per inch.
    QImage FirstPage() const { return firstPage_; }

    // Questions and messages; tests replace them. Ask answers Yes, No or Cancel.
    std::function<int(const QString& title, const QString& text)> Ask;
    std::function<void(const QString& text)> ShowError;

    static QString SaveFailedText() { return QStringLiteral("Předlohou se nepodařilo uložit."); }
    static QString UnsavedQuestion() {
        return QStringLiteral("V předloze sestavy byly provedeny změny. Uložit?");
    }
    static QString QuestionTitle() { return QStringLiteral("Potvrzení"); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Closing (Close, Escape, the window's button) asks about unsaved changes.
    void reject() override;

private:
    void fillTree();
    void showProperties(QTreeWidgetItem* item);
    void showPageForm();
    void showElementForm(int section, int element);
    void renderFirstPage();
    void changed();
    bool confirmClose();

    TSestava& report_;
    bool modified_ = false;
    QImage firstPage_;
    QTreeWidget* tree_ = nullptr;
    QWidget* form_ = nullptr;
    QFormLayout* formLayout_ = nullptr;
    QLabel* page_ = nullptr;
};

} // namespace lintaro
