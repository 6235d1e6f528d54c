// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Unit3.h"

#include "ui_Unit3.h"

#include "controls/DialogFlags.h"
#include "controls/ProgramFont.h"
#include "editor/ListView.h"
#include "editor/Unit4.h"
#include "editor/WindowLook.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>

#include <array>
#include <vector>

namespace {

// The layout is made for a sizeable frame of 4-pixel borders and a 19-pixel
// caption: the outer size 334 × 257, at least 270 × 180, less the frame.
constexpr QSize kFrame(8, 27);
constexpr QSize kMinimumOuter(270, 180);
constexpr int kValueColumnWidth = 70;

void SetUpColumns(TListView* list, const ListShape& shape)
{
    QStringList captions{QStringLiteral("Description"), shape.firstCaption};
    if (!shape.secondCaption.isEmpty())
        captions.append(shape.secondCaption);
    list->setColumnCount(int(captions.size()));
    list->setHorizontalHeaderLabels(captions);
    // The description takes what the value columns leave.
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < list->columnCount(); ++column)
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
    for (int kind = 0; kind < ListKindCount; ++kind)
        SetUpColumns(listOf(ListKind(kind)), ShapeOf(ListKind(kind)));
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    m_popup->addActions({m_ui->N1, m_ui->N2, m_ui->N3});
    bindHandlers();
    const QRect area = screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

TForm3::~TForm3() = default;

void TForm3::bindHandlers()
{
    connect(m_ui->Button1, &QPushButton::clicked, this, [this] {
        guarded([this] { Button1Click(); });
        done(QDialog::Accepted); // the result was set before writing: closes also after an error
    });
    connect(m_ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
    for (int kind = 0; kind < ListKindCount; ++kind) {
        TListView* list = listOf(ListKind(kind));
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

TListView* TForm3::listOf(ListKind kind) const
{
    const std::array<TListView*, ListKindCount> lists{m_ui->ListView1, m_ui->ListView2,
                                                      m_ui->ListView3, m_ui->ListView4};
    return lists[std::size_t(kind)];
}

ListKind TForm3::frontKind() const
{
    return ListKind(m_ui->PageControl1->currentIndex());
}

EditorList TForm3::rows(ListKind kind) const
{
    EditorList rows;
    const int count = listOf(kind)->rowCount();
    rows.reserve(count);
    for (int row = 0; row < count; ++row)
        rows.append(rowAt(kind, row));
    return rows;
}

EditorRow TForm3::rowAt(ListKind kind, int row) const
{
    const TListView* list = listOf(kind);
    const auto text = [list, row](int column) {
        const QTableWidgetItem* item = list->item(row, column);
        return item != nullptr ? item->text() : QString();
    };
    return {text(0), text(1), HasTwoValues(kind) ? text(2) : QString()};
}

void TForm3::setRowAt(ListKind kind, int row, const EditorRow& values)
{
    TListView* list = listOf(kind);
    const QStringList texts = HasTwoValues(kind)
                                  ? QStringList{values.description, values.first, values.second}
                                  : QStringList{values.description, values.first};
    for (int column = 0; column < int(texts.size()); ++column) {
        if (QTableWidgetItem* item = list->item(row, column))
            item->setText(texts[column]);
        else
            list->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
}

int TForm3::appendRow(ListKind kind, const EditorRow& row)
{
    TListView* list = listOf(kind);
    const int index = list->rowCount();
    list->insertRow(index);
    setRowAt(kind, index, row);
    return index;
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
    if (kind == lkProcessor && m_keepSorted)
        SortByDescription(rows);
    TListView* list = listOf(kind);
    list->setRowCount(0);
    list->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row)
        setRowAt(kind, row, rows[row]);
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
    TListView* list = listOf(kind);
    const QTableWidgetItem* added = list->item(appendRow(kind, NewEditorRow(kind, machine)), 0);
    if (kind == lkProcessor && m_keepSorted)
        sortProcessorList();
    if (!RunEditBox(kind, added->row()))
        list->removeRow(added->row());
}

void TForm3::N2Click()
{
    TListView* list = listOf(frontKind());
    const int row = list->selectedRow();
    if (row >= 0)
        list->removeRow(row);
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
    const int row = listOf(kind)->selectedRow();
    if (row >= 0)
        RunEditBox(kind, row);
}

void TForm3::ListView1ColumnClick(int column)
{
    // "Description" keeps the list sorted from now on; a value column sorts
    // it once. Either way the order is by description.
    m_keepSorted = column == 0;
    sortProcessorList();
}

void TForm3::sortProcessorList()
{
    TListView* list = m_ui->ListView1;
    const int count = list->rowCount();
    const int columns = list->columnCount();
    QStringList descriptions;
    descriptions.reserve(count);
    for (int row = 0; row < count; ++row)
        descriptions.append(rowAt(lkProcessor, row).description);
    const QList<qsizetype> order = DescriptionOrder(descriptions);
    // The items move with their rows, so the selection and the callers'
    // items follow.
    const int selected = list->selectedRow();
    std::vector<QTableWidgetItem*> taken(std::size_t(count) * std::size_t(columns));
    for (int row = 0; row < count; ++row)
        for (int column = 0; column < columns; ++column)
            taken[std::size_t(row * columns + column)] = list->takeItem(row, column);
    for (int row = 0; row < count; ++row) {
        const auto from = order[row];
        for (int column = 0; column < columns; ++column)
            list->setItem(row, column, taken[std::size_t(from * columns + column)]);
        if (from == selected)
            list->selectRow(row);
    }
}

bool TForm3::RunEditBox(ListKind kind, int row)
{
    if (m_form4 == nullptr)
        return false;
    const EditorRow before = rowAt(kind, row);
    m_form4->setRow(kind, before);
    const bool accepted = m_services.runEditDialog ? m_services.runEditDialog(*m_form4)
                                                   : m_form4->exec() == QDialog::Accepted;
    if (!accepted)
        return false;
    setRowAt(kind, row, m_form4->row(kind, before));
    if (kind == lkProcessor && m_keepSorted)
        sortProcessorList();
    return true;
}

void TForm3::Button1Click()
{
    setResult(QDialog::Accepted);
    if (m_services.database == nullptr)
        return;
    EditorLists lists;
    for (int kind = 0; kind < ListKindCount; ++kind)
        lists[std::size_t(kind)] = rows(ListKind(kind));
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
