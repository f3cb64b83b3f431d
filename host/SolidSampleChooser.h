// A small dialog listing the pack's solid samples and the quarter turns they can be applied
// with; the user picks one to furnish the open room.
#pragma once

#include "PackRecords.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QListWidget;

namespace vhost {

/** What the user chose: a sample id (0 for none) and the angle to apply it with, degrees. */
struct SolidSampleChoice
{
    int32_t id = 0;
    int32_t angle = 0;
};

class SolidSampleChooser : public QDialog
{
public:
    /** Builds the list ("solidSampleList") with one item per sample, the first selected, the
     *  angle choice ("angleCombo": 0, 90, 180 and 270 degrees), OK ("okButton") and Cancel
     *  ("cancelButton"). */
    SolidSampleChooser(const std::vector<PackSolidSample>& samples, QWidget* parent = nullptr);

    /** The selected sample (id 0 when none is selected) and angle. */
    SolidSampleChoice choice() const;

private:
    QListWidget* list_ = nullptr;
    QComboBox* angles_ = nullptr;
};

} // namespace vhost
