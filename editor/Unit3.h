// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/ComparisonDatabase.h"
#include "database/MachineValues.h"
#include "editor/EditorRows.h"

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

class ComparisonDatabase;
class DescriptionOrderModel;
class EditorListModel;
class QMenu;
class TForm4;
class TListView;

namespace Ui {
class TForm3;
}

// What the Database window takes from outside: the database, this machine's
// values for new rows, how the Edit dialog is shown, and the application's
// error handler (tests answer the dialog and collect errors themselves).
struct TForm3Services
{
    ComparisonDatabase* database = nullptr;
    std::function<MachineValues()> machineValues; // empty: nothing known
    std::function<bool(TForm4&)> runEditDialog;   // empty: the dialog shown modally
    // Runs a command and reports the error it raises; empty: errors propagate.
    std::function<void(const std::function<void()>&)> runGuarded;
    // The rows that files dropped on the window add to the lists shown
    // (`present`); raises an error naming a file it cannot take. Empty: the
    // window takes no drops.
    std::function<DatabaseLists(const QList<QUrl>& files, const DatabaseLists& present)>
        droppedRows;
};

// The Database window: the four lists of base.ini, each a model shown in
// the order of its sort proxy, edited there and written back in that order
// at "Ok". Created once; page, place, size and the sort setting last from
// one showing to the next, the rows are reloaded at each showing.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(TForm3Services services, QWidget* parent = nullptr);
    ~TForm3() override;

    // The Edit dialog; set once after both windows exist.
    void setEditDialog(TForm4* dialog) { m_form4 = dialog; }

    void FormActivate();
    void ProcessorListUpdate();
    void MemoryListUpdate();
    void VideoListUpdate();
    void HDDListUpdate();
    void ListView1MouseUp(TListView* list, Qt::MouseButton button, const QPoint& position);
    void N1Click();
    void N2Click();
    void ListView1DblClick();
    void ListView2DblClick();
    void ListView3DblClick();
    void ListView4DblClick();
    void ListView1ColumnClick(int column);
    bool RunEditBox(ListKind kind, int row);
    void Button1Click();
    // Adds the rows the dropped files give, unsaved until "Ok".
    void AddDroppedFiles(const QList<QUrl>& files);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setUpLists();
    void bindHandlers();
    TListView* viewOf(ListKind kind) const;
    void listUpdate(ListKind kind);
    ListKind frontKind() const;
    void editSelected(ListKind kind);
    void keepSortedIfAsked(ListKind kind);
    void guarded(const std::function<void()>& command);

    std::unique_ptr<Ui::TForm3> m_ui;
    TForm3Services m_services;
    std::array<EditorListModel*, ListKindCount> m_lists{};
    std::array<DescriptionOrderModel*, ListKindCount> m_shown{};
    QMenu* m_popup = nullptr;
    TForm4* m_form4 = nullptr;
    QSize m_designSize;
    QRect m_pageDesign;
    QPoint m_okDesign;
    QPoint m_cancelDesign;
    bool m_keepSorted = false;
};
