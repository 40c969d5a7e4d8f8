#pragma once

#include <QString>
#include <QStringList>

class QWidget;
namespace platform {
class DBGrid;
}

// Whether a person can read a window's texts at its current size.
namespace testsupport {

// The texts of the window's shown controls that do not show whole: labels (one line, or wrapped in their
// height), buttons, check boxes, option buttons, frame titles and grid headings (wrapped over the grid's
// heading lines) and the entry a combo box shows. Each as "<object name>: <text>".
QStringList cutTexts(QWidget* window);

// The cells of a grid's rows (all of them, shown or scrolled away) whose text does not fit its column;
// only the given columns when some are given.
QStringList cutCells(platform::DBGrid* grid, const QList<int>& columns = {});

// Saves the window as <folder>/<name>.png when KELVA_SHOTS names a folder (a look as a user would take it).
void saveShot(QWidget* window, const QString& name);

}  // namespace testsupport
