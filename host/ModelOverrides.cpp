#include "ModelOverrides.h"

#include "AtomicFile.h"
#include "HostErrors.h"
#include "HostText.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vhost {

ModelOverrides ModelOverrides::load(const std::string& path)
{
    ModelOverrides overrides;
    overrides.path_ = path;
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return overrides;
    const std::string text = readTextFile(path);
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size()) ||
        std::strcmp(document.document_element().name(), "overrides") != 0)
        throw std::invalid_argument(path + " is not a model overrides file (no <overrides>)");
    for (pugi::xml_node m : document.document_element().children("model")) {
        Entry& e = overrides.entries_[parseInt(m.attribute("id").value(), path + " model id")];
        if (pugi::xml_attribute c = m.attribute("category"))
            e.category = parseInt(c.value(), path + " category");
        if (pugi::xml_node materials = m.child("materials"))
            e.materials = materials.text().get();
    }
    return overrides;
}

std::string ModelOverrides::pathFor(const std::string& packIndexPath)
{
    std::string user;
    if (const passwd* pw = getpwuid(getuid()))
        user = pw->pw_name;
    if (user.empty() && std::getenv("USER"))
        user = std::getenv("USER");
    if (user.empty())
        user = std::to_string(getuid());
    const size_t slash = packIndexPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : packIndexPath.substr(0, slash + 1);
    return folder + "overrides-" + user + ".xml";
}

void ModelOverrides::setMaterials(int32_t modelId, const std::string& materialsXml)
{
    entries_[modelId].materials = materialsXml;
}

void ModelOverrides::setCategory(int32_t modelId, int32_t categoryId)
{
    entries_[modelId].category = categoryId;
}

PackModel ModelOverrides::applied(const PackModel& model) const
{
    PackModel out = model;
    auto it = entries_.find(model.id);
    if (it != entries_.end()) {
        if (it->second.materials)
            out.defaultMaterials = *it->second.materials;
        if (it->second.category)
            out.categoryId = *it->second.category;
    }
    return out;
}

void ModelOverrides::save() const
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("overrides");
    for (const auto& [id, e] : entries_) {
        pugi::xml_node m = root.append_child("model");
        m.append_attribute("id").set_value(id);
        if (e.category)
            m.append_attribute("category").set_value(*e.category);
        if (e.materials)
            m.append_child("materials").text().set(e.materials->c_str());
    }
    std::ostringstream out;
    document.save(out, "  ");
    saveAtomically(path_, out.str());
}

} // namespace vhost
