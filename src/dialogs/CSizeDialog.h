// The size dialog ("尺寸"): a width and a height in the caller's units (decimillimetres), shown
// divided by a divisor with a given number of decimals. Three uses: wall tiles ("瓷砖尺寸",
// with "修改所有墙面"), doors and windows ("门窗尺寸") and floor tiles ("地砖尺寸"). The dialog
// changes nothing itself: its caller applies the size.
#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class SizeDialog;
}

class CSizeDialog : public QDialog
{
    Q_OBJECT

public:
    /** The three uses, with their titles, divisors, decimals and the all-walls box. */
    enum class Use { WallTiles, DoorsAndWindows, FloorTiles };

    /** The dialog for `use` with the starting size. */
    CSizeDialog(Use use, int width, int height, QWidget* parent = nullptr);
    /** A dialog of any title, divisor and decimals. */
    CSizeDialog(const QString& title, int width, int height, int divisor, int decimals,
                bool showAllWalls, QWidget* parent = nullptr);
    ~CSizeDialog() override;

    /** The size after OK (the starting size before). */
    int width() const { return width_; }
    int height() const { return height_; }
    /** "修改所有墙面" was ticked at OK. */
    bool allWalls() const { return allWalls_; }

    /** The text a size shows with: size / divisor, with `decimals` decimals when the division
     *  leaves a remainder and none when it does not. */
    static QString sizeText(int size, int divisor, int decimals);

    void accept() override;

private:
    /** The field's size in the caller's units, or nothing after showing `message`. */
    std::optional<int> readField(class QLineEdit* edit, const char* message);

    std::unique_ptr<Ui::SizeDialog> ui_;
    int width_;
    int height_;
    int divisor_;
    bool allWalls_ = false;
};

namespace vs {

/** What the size dialog answered. */
struct SizeAnswer
{
    int width = 0;
    int height = 0;
    bool allWalls = false;
};

/** Runs the size dialog for `use` modally (the "瓷砖尺寸", "门窗尺寸" and "地砖尺寸" entries of
 *  the 3D window's context menu); the answer on OK, nothing on Cancel. */
std::optional<SizeAnswer> askSize(CSizeDialog::Use use, int width, int height,
                                  QWidget* parent = nullptr);

} // namespace vs
