// A small dialog listing the pack's static samples with thumbnails of their photos; the user
// picks one for the change-top view.
#pragma once

#include "PackRecords.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace vhost {

class StaticSampleChooser : public QDialog
{
public:
    /** Builds the list ("sampleList") with one item per sample, OK ("okButton") and Cancel
     *  ("cancelButton"). A photo that does not decode gets an empty thumbnail. */
    StaticSampleChooser(const std::vector<PackStaticSample>& samples, QWidget* parent = nullptr);

    /** Returns the id of the selected sample, or 0 when none is selected. */
    int32_t chosenId() const;

    /** Thumbnail size in pixels. */
    static constexpr int kThumbWidth = 160;
    static constexpr int kThumbHeight = 120;

private:
    QListWidget* list_ = nullptr;
};

} // namespace vhost
