// The picture selection dialog ("选择图片"): the facility categories that hold pictures in a
// tree, and the pictures of the selected category as 50 x 50 icons. A category is shown when
// it or a category below it holds a model whose kind is neither 0 nor 1.
#pragma once

#include <QDialog>

#include <memory>

class CFacilityCatalogue;
class CFacilityModel;
class QTreeWidgetItem;
struct CFacilityCategory;

namespace Ui {
class SelectPictureDlg;
}

class CSelectPictureDlg : public QDialog
{
    Q_OBJECT

public:
    /** Side of the icons, pixels. */
    static constexpr int kIconSide = 50;

    /** The dialog over `catalogue`, starting at `category` (may be null). */
    CSelectPictureDlg(const CFacilityCatalogue& catalogue, CFacilityCategory* category,
                      QWidget* parent = nullptr);
    ~CSelectPictureDlg() override;

    /** After OK: the model of the first selected picture, or null. */
    CFacilityModel* chosenModel() const { return model_; }
    /** After OK: the selected category, or null. */
    CFacilityCategory* chosenCategory() const { return category_; }

    /** True when `category` or one below it holds a model of a kind other than 0 and 1. */
    static bool shown(const CFacilityCategory* category);

    void accept() override;

private:
    void addCategory(CFacilityCategory* category, QTreeWidgetItem* parent);
    void fillList();

    std::unique_ptr<Ui::SelectPictureDlg> ui_;
    CFacilityModel* model_ = nullptr;
    CFacilityCategory* category_;
    QTreeWidgetItem* startItem_ = nullptr;
};
