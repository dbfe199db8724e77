// "Поиск и замена": the modeless, on-top find window over the table editor's value grid.
#pragma once

#include "datawin/GridSearch.h"

#include <QDialog>
#include <memory>

namespace Ui { class TFormFindInGrid; }

class TFormFindInGrid : public QDialog
{
    Q_OBJECT
public:
    explicit TFormFindInGrid(QWidget* parent = nullptr);
    ~TFormFindInGrid() override;

    Ui::TFormFindInGrid& Form() const { return *ui; }

    // Remembers the grid and shows the window; an empty search text takes `proposed`.
    void ShowForGrid(GridCells& cells, GridCursor& cursor, const QString& proposed);
    void ShowForGridPlace(GridCells& cells, GridCursor& cursor, const QString& proposed, int place);
    // The grid is going away.
    void ForgetGrid(const GridCells& cells);

    void ButtonSearchClick();
    void ButtonSearchNextClick();
    void ButtonReplaceClick();
    void ButtonReplaceAllClick();
    void Button2Click();

signals:
    // Texts were put into cells of the grid.
    void CellsReplaced();

protected:
    // Esc closes as "Закрыть" does.
    void reject() override { Button2Click(); }

private:
    // The search of the current grid with the window's direction and place.
    GridSearch* Search();
    int Place() const;

    std::unique_ptr<Ui::TFormFindInGrid> ui;
    GridCells* cells_ = nullptr;
    GridCursor* cursor_ = nullptr;
    std::unique_ptr<GridSearch> search_;  // holds the stored area
};
