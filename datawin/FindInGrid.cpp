// Find and replace window of the value grid.
#include "datawin/FindInGrid.h"

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_FindInGrid.h"

TFormFindInGrid::TFormFindInGrid(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormFindInGrid>())
{
    ui->setupUi(this);
    setModal(false);
    connect(ui->ButtonSearch, &QPushButton::clicked, this, platform::Guarded([this] { ButtonSearchClick(); }));
    connect(ui->ButtonSearchNext, &QPushButton::clicked, this, platform::Guarded([this] { ButtonSearchNextClick(); }));
    connect(ui->ButtonReplace, &QPushButton::clicked, this, platform::Guarded([this] { ButtonReplaceClick(); }));
    connect(ui->ButtonReplaceAll, &QPushButton::clicked, this, platform::Guarded([this] { ButtonReplaceAllClick(); }));
    connect(ui->Button2, &QPushButton::clicked, this, platform::Guarded([this] { Button2Click(); }));
}

TFormFindInGrid::~TFormFindInGrid() = default;

void TFormFindInGrid::ShowForGrid(GridCells& cells, GridCursor& cursor, const QString& proposed)
{
    if (ui->EditSearchString->text().isEmpty())
        ui->EditSearchString->setText(proposed);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (cells_ != &cells || cursor_ != &cursor) {
        cells_ = &cells;
        cursor_ = &cursor;
        search_ = std::make_unique<GridSearch>(cells, cursor);
    }
    show();
    raise();
    activateWindow();
}

void TFormFindInGrid::ShowForGridPlace(GridCells& cells, GridCursor& cursor, const QString& proposed, int place)
{
    QRadioButton* buttons[] = {ui->RadioEverywhere, ui->RadioSelection, ui->RadioColumn};
    if (place >= 0 && place < 3)
        buttons[place]->setChecked(true);
    ShowForGrid(cells, cursor, proposed);
}

void TFormFindInGrid::ForgetGrid(const GridCells& cells)
{
    if (cells_ != &cells)
        return;
    hide();
    cells_ = nullptr;
    cursor_ = nullptr;
    search_.reset();
}

int TFormFindInGrid::Place() const
{
    return ui->RadioSelection->isChecked() ? GridSearch::InSelection
           : ui->RadioColumn->isChecked() ? GridSearch::InCurrentColumn
                                          : GridSearch::Everywhere;
}

GridSearch* TFormFindInGrid::Search()
{
    if (search_) {
        search_->direction = ui->RadioBackward->isChecked() ? GridSearch::Backward : GridSearch::Forward;
        search_->place = GridSearch::Place(Place());
    }
    return search_.get();
}

void TFormFindInGrid::ButtonSearchClick()
{
    const QString text = ui->EditSearchString->text();
    if (text.isEmpty()) {
        platform::ShowMessage(QStringLiteral("Введите строку для поиска"));
        return;
    }
    if (GridSearch* search = Search(); search && !search->SetAreaAndFind(text))
        platform::ShowMessage(QStringLiteral("Строка не найдена"));
}

void TFormFindInGrid::ButtonSearchNextClick()
{
    const QString text = ui->EditSearchString->text();
    if (text.isEmpty()) {
        platform::ShowMessage(QStringLiteral("Введите строку для поиска"));
        return;
    }
    GridSearch* search = Search();
    if (!search)
        return;
    if (!search->HasArea())
        search->SetArea();
    if (!search->FindAfterCurrent(text))
        platform::ShowMessage(QStringLiteral("Строка не найдена"));
}

void TFormFindInGrid::ButtonReplaceClick()
{
    const QString text = ui->EditSearchString->text();
    const QString replacement = ui->EditReplace->text();
    if (text.isEmpty() || replacement.isEmpty()) {
        platform::ShowMessage(QStringLiteral("строки поиска и замены не должны быть пустыми!"));
        return;
    }
    GridSearch* search = Search();
    if (!search || !search->SetAreaAndFind(text))
        return;
    if (platform::MessageBox(this,
                             QStringLiteral("Заменить строку <") + text + QStringLiteral("> на <") + replacement +
                                 QStringLiteral("> ?"),
                             QStringLiteral("Подтверждение замены"),
                             platform::MB_OKCANCEL | platform::MB_ICONQUESTION) == platform::IDOK)
    {
        cells_->SetText(cursor_->CurrentCol(), cursor_->CurrentRow(), replacement);
        emit CellsReplaced();
    }
}

void TFormFindInGrid::ButtonReplaceAllClick()
{
    const QString text = ui->EditSearchString->text();
    const QString replacement = ui->EditReplace->text();
    if (text.isEmpty() || replacement.isEmpty()) {
        platform::ShowMessage(QStringLiteral("Строки поиска и замены не должны быть пустыми!"));
        return;
    }
    GridSearch* search = Search();
    if (!search)
        return;
    static const char* const places[] = {" по всему файлу ", " в выделенной области ", " в текущем столбце "};
    const QString question = QStringLiteral("Вы действительно хотите заменить все вхождения строки\n <") + text +
                             QStringLiteral("> на <") + replacement + QStringLiteral(">\n") +
                             QString::fromUtf8(places[Place()]) + QStringLiteral("?");
    if (platform::MessageBox(this, question, QStringLiteral("Заменить все"),
                             platform::MB_OKCANCEL | platform::MB_ICONWARNING) != platform::IDOK)
        return;
    if (search->ReplaceAllMatches(text, replacement) > 0)
        emit CellsReplaced();
    platform::ShowMessage(QStringLiteral("Замена произведена"));
}

void TFormFindInGrid::Button2Click()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    hide();
}
