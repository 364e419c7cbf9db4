#pragma once
// The three item lists of the window (order items, parts, material dimensions): a list view whose
// rows are drawn as cells at the positions of the row editor's fields, with the editor laid over
// the focused row. The list follows the data list's ItemFocused.
#include <QAbstractListModel>
#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>
#include <vector>

QT_BEGIN_NAMESPACE
class QListView;
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

class TDataComponent;
class TDataComponentList;

// One cell of a row: the editor field it lines up with and the property it shows.
struct TItemColumn {
    QWidget* field;
    QString property;
    Qt::Alignment alignment;
    int width = 0; // the field's width when 0
};

class TItemListModel : public QAbstractListModel {
public:
    explicit TItemListModel(QObject* parent) : QAbstractListModel(parent) {}
    void SetList(std::function<TDataComponentList*()> list) { list_ = std::move(list); }
    TDataComponentList* List() const { return list_ ? list_() : nullptr; }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    TDataComponent* ItemAt(int row) const;
    void Rebuild();
    void RowChanged(int row);

private:
    std::function<TDataComponentList*()> list_;
};

class TItemList;

class TItemRowDelegate : public QStyledItemDelegate {
public:
    explicit TItemRowDelegate(TItemList& list);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TItemList& list_;
};

class TItemList : public QObject {
public:
    // `hasContent` tells whether an item's row is drawn dark blue (else grey); `placeholder`, when
    // given, is shown in the first cell of an item without content.
    TItemList(QListView* view, QWidget* panel, std::vector<TItemColumn> columns,
              std::function<TDataComponentList*()> list,
              std::function<bool(const TDataComponent*)> hasContent, int maxHeight);

    QListView* View() const { return view_; }
    QWidget* Panel() const { return panel_; }
    const std::vector<TItemColumn>& Columns() const { return columns_; }
    void SetColumnWidth(int column, int width) { columns_[static_cast<size_t>(column)].width = width; }
    TItemListModel& Model() { return model_; }
    TDataComponentList* List() const { return model_.List(); }
    int RowHeight() const;
    bool HasContent(const TDataComponent* item) const { return hasContent_(item); }
    QString Placeholder() const { return placeholder_; }
    void SetPlaceholder(const QString& text) { placeholder_ = text; }
    // Which of the columns' fields is the given widget; -1 when none.
    int ColumnOf(const QObject* field) const;
    // Whether a change of this source concerns the list (the list itself or one of its items).
    bool Concerns(const TDataComponent* source) const;

    // A list with a height limit takes the height of its page down to the controls that follow it.
    void FitInto(int pageHeight);
    // Rebuilds the rows, resizes the view and places the editor.
    void Rebuild();
    // Selects the focused item's row, places the editor over it; the caller fills the fields.
    void ShowFocused();
    // Focuses the item of the row under the click.
    void FocusRow(int row);
    // The row editor's field under the last click into the rows, once; nullptr when none.
    QWidget* TakeClickedField();
    // Gives a control below the list another place in the form's design; it keeps following the
    // list from there.
    void SetFollowerDesignY(QWidget* follower, int designY);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resizeView();
    void placePanel();
    void collectFollowers();
    QWidget* fieldAtX(int x) const;

    QPointer<QListView> view_;
    QWidget* viewport_ = nullptr; // watched for its size; never called through the view
    QPointer<QWidget> panel_;
    std::vector<TItemColumn> columns_;
    TItemListModel model_;
    TItemRowDelegate delegate_;
    std::function<bool(const TDataComponent*)> hasContent_;
    QString placeholder_;
    int maxHeight_;
    // The controls below the list move with its bottom; the bottom banner shows only where it fits.
    int designHeight_;
    // How far the followers reach below the list's bottom in the form's design.
    int followerSpan_ = 0;
    std::vector<std::pair<QPointer<QWidget>, int>> followers_;
    QPointer<QWidget> banner_;
    QPointer<QWidget> clickedField_;
};

} // namespace lintaro
