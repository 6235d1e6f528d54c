// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Unit3.h"

#include "ui_Unit3.h"

#include "controls/DialogFlags.h"
#include "controls/ProgramFont.h"
#include "editor/EditorModel.h"
#include "editor/EscapeKey.h"
#include "editor/ListView.h"
#include "editor/Unit4.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScreen>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The layout is made for a sizeable frame of 4-pixel borders and a 19-pixel
// caption: the outer size 334 × 257, at least 270 × 180, less the frame.
constexpr QSize kFrame(8, 27);
constexpr QSize kMinimumOuter(270, 180);
constexpr int kValueColumnWidth = 70;

void SetUpColumns(TListView* list)
{
    // The description takes what the value columns leave.
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < list->model()->columnCount(); ++column)
        list->setColumnWidth(column, kValueColumnWidth);
}

} // namespace

TForm3::TForm3(TForm3Services services, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm3>()), m_services(std::move(services))
{
    m_ui->setupUi(this);
    // Sizeable: the one dialog with a maximise box.
    setWindowFlags(DialogTitleBar | Qt::WindowMaximizeButtonHint);
    setFont(ProgramFont());
    m_designSize = size();
    m_pageDesign = m_ui->PageControl1->geometry();
    m_okDesign = m_ui->Button1->pos();
    m_cancelDesign = m_ui->Button2->pos();
    setMinimumSize(kMinimumOuter - kFrame);
    setUpLists();
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    m_popup->addActions({m_ui->N1, m_ui->N2, m_ui->N3});
    bindHandlers();
    setAcceptDrops(static_cast<bool>(m_services.droppedRows));
    const QRect area = screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

TForm3::~TForm3() = default;

void TForm3::setUpLists()
{
    for (int kind = 0; kind < ListKindCount; ++kind) {
        m_lists[kind] = new EditorListModel(ListKind(kind), this);
        m_shown[kind] = new DescriptionOrderModel(m_lists[kind], this);
        TListView* list = viewOf(ListKind(kind));
        list->setModel(m_shown[kind]);
        SetUpColumns(list);
    }
}

void TForm3::bindHandlers()
{
    connect(m_ui->Button1, &QPushButton::clicked, this, [this] {
        guarded([this] { Button1Click(); });
        done(QDialog::Accepted); // the result was set before writing: closes also after an error
    });
    connect(m_ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
    for (int kind = 0; kind < ListKindCount; ++kind) {
        TListView* list = viewOf(ListKind(kind));
        connect(list, &TListView::mousePressed, this,
                [this, list](Qt::MouseButton button, const QPoint& position) {
                    ListView1MouseUp(list, button, position);
                });
    }
    connect(m_ui->ListView1, &TListView::leftDoubleClicked, this, &TForm3::ListView1DblClick);
    connect(m_ui->ListView2, &TListView::leftDoubleClicked, this, &TForm3::ListView2DblClick);
    connect(m_ui->ListView3, &TListView::leftDoubleClicked, this, &TForm3::ListView3DblClick);
    connect(m_ui->ListView4, &TListView::leftDoubleClicked, this, &TForm3::ListView4DblClick);
    connect(m_ui->N1, &QAction::triggered, this, &TForm3::N1Click);
    connect(m_ui->N2, &QAction::triggered, this, &TForm3::N2Click);
    connect(m_ui->N3, &QAction::triggered, this, &TForm3::ListView1DblClick);
    connect(m_ui->ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TForm3::ListView1ColumnClick);
}

TListView* TForm3::viewOf(ListKind kind) const
{
    const std::array<TListView*, ListKindCount> lists{m_ui->ListView1, m_ui->ListView2,
                                                      m_ui->ListView3, m_ui->ListView4};
    return lists[std::size_t(kind)];
}

ListKind TForm3::frontKind() const
{
    return ListKind(m_ui->PageControl1->currentIndex());
}

void TForm3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TForm3::FormActivate()
{
    ProcessorListUpdate();
    MemoryListUpdate();
    VideoListUpdate();
    HDDListUpdate();
    if (m_form4 != nullptr)
        m_form4->move(pos() + QPoint(100, 100));
}

void TForm3::ProcessorListUpdate()
{
    listUpdate(lkProcessor);
}

void TForm3::MemoryListUpdate()
{
    listUpdate(lkMemory);
}

void TForm3::VideoListUpdate()
{
    listUpdate(lkVideo);
}

void TForm3::HDDListUpdate()
{
    listUpdate(lkHdd);
}

void TForm3::listUpdate(ListKind kind)
{
    EditorList rows;
    if (m_services.database != nullptr)
        rows = LoadEditorList(*m_services.database, kind);
    // In file order, also after a sort done once, unless kept sorted.
    if (kind == lkProcessor && m_keepSorted) {
        m_lists[kind]->setRows(std::move(rows));
        m_shown[kind]->sortByDescription();
    } else {
        m_shown[kind]->keepModelOrder();
        m_lists[kind]->setRows(std::move(rows));
    }
}

void TForm3::ListView1MouseUp(TListView* list, Qt::MouseButton button, const QPoint& position)
{
    const bool selected = list->selectedRow() >= 0;
    m_ui->N1->setEnabled(true);
    m_ui->N2->setEnabled(selected);
    m_ui->N3->setEnabled(selected);
    if (button == Qt::RightButton)
        m_popup->popup(list->viewport()->mapToGlobal(position));
}

void TForm3::N1Click()
{
    const ListKind kind = frontKind();
    const MachineValues machine =
        m_services.machineValues ? m_services.machineValues() : MachineValues{};
    // The new row's number in the model stays while the dialog is open,
    // wherever a sort shows it.
    const int added = m_lists[kind]->appendRow(NewEditorRow(kind, machine));
    keepSortedIfAsked(kind);
    if (!RunEditBox(kind, m_shown[kind]->shownRow(added)))
        m_lists[kind]->removeRows(added, 1);
}

void TForm3::N2Click()
{
    const ListKind kind = frontKind();
    const int row = viewOf(kind)->selectedRow();
    if (row >= 0)
        m_lists[kind]->removeRows(m_shown[kind]->modelRow(row), 1);
}

void TForm3::ListView1DblClick()
{
    editSelected(frontKind());
}

void TForm3::ListView2DblClick()
{
    editSelected(lkMemory);
}

void TForm3::ListView3DblClick()
{
    editSelected(lkVideo);
}

void TForm3::ListView4DblClick()
{
    editSelected(lkHdd);
}

void TForm3::editSelected(ListKind kind)
{
    const int row = viewOf(kind)->selectedRow();
    if (row >= 0)
        RunEditBox(kind, row);
}

void TForm3::ListView1ColumnClick(int column)
{
    // "Description" keeps the list sorted from now on; a value column sorts
    // it once. Either way the order is by description.
    m_keepSorted = column == 0;
    m_shown[lkProcessor]->sortByDescription();
}

void TForm3::keepSortedIfAsked(ListKind kind)
{
    if (kind == lkProcessor && m_keepSorted)
        m_shown[kind]->sortByDescription();
}

bool TForm3::RunEditBox(ListKind kind, int row)
{
    if (m_form4 == nullptr)
        return false;
    const int modelRow = m_shown[kind]->modelRow(row);
    if (modelRow < 0)
        return false;
    const EditorRow before = m_lists[kind]->rows()[modelRow];
    m_form4->setRow(kind, before);
    const bool accepted = m_services.runEditDialog ? m_services.runEditDialog(*m_form4)
                                                   : m_form4->exec() == QDialog::Accepted;
    if (!accepted)
        return false;
    m_lists[kind]->setRow(modelRow, m_form4->row(kind, before));
    keepSortedIfAsked(kind);
    return true;
}

void TForm3::Button1Click()
{
    setResult(QDialog::Accepted);
    if (m_services.database == nullptr)
        return;
    EditorLists lists;
    for (int kind = 0; kind < ListKindCount; ++kind)
        lists[std::size_t(kind)] = m_shown[kind]->shownRows();
    WriteEditorLists(*m_services.database, lists);
}

void TForm3::guarded(const std::function<void()>& command)
{
    if (m_services.runGuarded)
        m_services.runGuarded(command);
    else
        command();
}

void TForm3::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The pages follow all four edges, the buttons the bottom right corner.
    const QSize grow = size() - m_designSize;
    m_ui->PageControl1->setGeometry(QRect(m_pageDesign.topLeft(), m_pageDesign.size() + grow));
    m_ui->Button1->move(m_okDesign + QPoint(grow.width(), grow.height()));
    m_ui->Button2->move(m_cancelDesign + QPoint(grow.width(), grow.height()));
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    if (IgnoresEscape(event))
        return;
    QDialog::keyPressEvent(event);
}

void TForm3::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() &&
        std::all_of(urls.cbegin(), urls.cend(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void TForm3::dropEvent(QDropEvent* event)
{
    const QList<QUrl> files = event->mimeData()->urls();
    event->acceptProposedAction();
    guarded([this, &files] { AddDroppedFiles(files); });
}

void TForm3::AddDroppedFiles(const QList<QUrl>& files)
{
    if (!m_services.droppedRows)
        return;
    EditorLists shown;
    for (int kind = 0; kind < ListKindCount; ++kind)
        shown[std::size_t(kind)] = m_lists[kind]->rows();
    const DatabaseLists added = m_services.droppedRows(files, ListsToWrite(shown));
    const std::array<const QList<DatabaseRow>*, ListKindCount> lists{
        &added.processor, &added.memory, &added.video, &added.drive};
    for (int kind = 0; kind < ListKindCount; ++kind) {
        for (const EditorRow& row : EditorRowsFrom(ListKind(kind), *lists[std::size_t(kind)]))
            m_lists[kind]->appendRow(row);
        keepSortedIfAsked(ListKind(kind));
    }
}
