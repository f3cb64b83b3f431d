// A user's changes to facility models made in the design dialog (default materials stored as
// a model's, models moved to another category), kept in a small XML file beside the pack and
// applied at the next pour.
#pragma once

#include "PackRecords.h"

#include <map>
#include <optional>
#include <string>

namespace vhost {

class ModelOverrides
{
public:
    /** Reads the overrides at `path`; a missing file gives none. Throws std::invalid_argument
     *  when the file is not an overrides file, FileError when it cannot be read. */
    static ModelOverrides load(const std::string& path);
    /** Returns the usual overrides path of the current user for a pack index. */
    static std::string pathFor(const std::string& packIndexPath);

    /** Stores `materialsXml` (a customMaterials element) as the model's default materials. */
    void setMaterials(int32_t modelId, const std::string& materialsXml);
    /** Stores the model's new category. */
    void setCategory(int32_t modelId, int32_t categoryId);
    /** Returns the model with the overrides applied. */
    PackModel applied(const PackModel& model) const;
    /** Writes the file atomically. Throws FileError. */
    void save() const;

    const std::string& path() const { return path_; }

private:
    struct Entry
    {
        std::optional<std::string> materials;
        std::optional<int32_t> category;
    };
    std::string path_;
    std::map<int32_t, Entry> entries_;
};

} // namespace vhost
