#include "CataloguePack.h"

#include "AtomicFile.h"
#include "HostErrors.h"
#include "HostText.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <pugixml.hpp>

#include <cstring>
#include <limits.h>
#include <set>
#include <stdlib.h>

namespace vhost {
namespace {

/** Largest length or size a pack entry may give (100 m in decimillimetres). */
constexpr int32_t kMaxLength = 1000000;

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool isPicture(const std::vector<uint8_t>& bytes)
{
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage image;
    return reader.read(&image) && !image.isNull();
}

} // namespace

/** Reads one index into a pack, naming the entry at fault in every error. */
class PackIndexReader
{
public:
    explicit PackIndexReader(CataloguePack& pack) : pack_(pack) {}

    void read(const std::string& indexText)
    {
        pugi::xml_document document;
        pugi::xml_parse_result parsed = document.load_buffer(indexText.data(), indexText.size());
        if (!parsed)
            throw std::invalid_argument(pack_.indexPath_ + " is not XML: " + parsed.description() +
                                        " at offset " + std::to_string(parsed.offset));
        pugi::xml_node root = document.document_element();
        if (std::strcmp(root.name(), "pack") != 0)
            throw std::invalid_argument(pack_.indexPath_ + " is not a catalogue pack (no <pack>)");
        readKinds(root.child("panelKinds"));
        readCandyCategories(root.child("panelCategories"));
        readCandyTypes(root.child("panelTypes"));
        readFacilityCategories(root.child("facilityCategories"), 0);
        readModels(root.child("models"));
        readSamples(root.child("staticSamples"));
        readSolidSamples(root.child("solidSamples"));
    }

private:
    std::string where(const pugi::xml_node& node) const
    {
        return pack_.indexPath_ + ": <" + node.name() +
               " id=" + quoted(node.attribute("id").value()) + ">";
    }

    int32_t integer(const pugi::xml_node& node, const char* name, int32_t fallback = 0) const
    {
        pugi::xml_attribute a = node.attribute(name);
        return a ? parseInt(a.value(), where(node) + " " + name) : fallback;
    }

    int32_t length(const pugi::xml_node& node, const char* name) const
    {
        const int32_t value = integer(node, name);
        if (value < 0 || value > kMaxLength)
            throw std::invalid_argument(where(node) + " " + name + " " + std::to_string(value) +
                                        " is outside 0 to " + std::to_string(kMaxLength));
        return value;
    }

    double number(const pugi::xml_node& node, const char* name, double fallback) const
    {
        pugi::xml_attribute a = node.attribute(name);
        return a ? parseNumber(a.value(), where(node) + " " + name) : fallback;
    }

    bool flag(const pugi::xml_node& node, const char* name, bool fallback) const
    {
        pugi::xml_attribute a = node.attribute(name);
        if (!a)
            return fallback;
        const std::string v = a.value();
        if (v == "true" || v == "1")
            return true;
        if (v == "false" || v == "0")
            return false;
        throw std::invalid_argument(where(node) + " " + name + ": " + quoted(v) +
                                    " is not true or false");
    }

    std::optional<std::array<float, 3>> triple(const pugi::xml_node& node, const char* name) const
    {
        pugi::xml_attribute a = node.attribute(name);
        if (!a)
            return std::nullopt;
        std::array<float, 3> v{};
        std::string text = a.value();
        size_t start = 0;
        for (int i = 0; i < 3; ++i) {
            const size_t comma = text.find(',', start);
            if ((i < 2) != (comma != std::string::npos))
                throw std::invalid_argument(where(node) + " " + name + " needs three numbers");
            v[size_t(i)] =
                float(parseNumber(text.substr(start, comma - start), where(node) + " " + name));
            start = comma + 1;
        }
        return v;
    }

    void unique(std::set<int32_t>& seen, const pugi::xml_node& node, int32_t id) const
    {
        if (!seen.insert(id).second)
            throw std::invalid_argument(where(node) + " repeats id " + std::to_string(id));
    }

    /** Resolves a relative path of the index; refuses one that leaves the pack folder. */
    std::string resolve(const pugi::xml_node& node, const std::string& relative) const
    {
        if (relative.empty() || relative[0] == '/' || relative.find('\\') != std::string::npos)
            throw std::invalid_argument(where(node) + " names " + quoted(relative) +
                                        ", which points outside the pack");
        int depth = 0;
        size_t start = 0;
        while (start <= relative.size()) {
            size_t slash = relative.find('/', start);
            if (slash == std::string::npos)
                slash = relative.size();
            const std::string part = relative.substr(start, slash - start);
            depth += part == ".." ? -1 : (part.empty() || part == ".") ? 0 : 1;
            if (depth < 0)
                throw std::invalid_argument(where(node) + " names " + quoted(relative) +
                                            ", which points outside the pack");
            start = slash + 1;
        }
        const std::string path = pack_.folder_ + relative;
        // A symbolic link inside the pack must not lead out of it either.
        char real[PATH_MAX];
        if (::realpath(path.c_str(), real) == nullptr)
            throw FileError(where(node) + " names " + path + ", which cannot be opened");
        const std::string inside(real);
        if (inside.compare(0, realFolder_.size(), realFolder_) != 0)
            throw std::invalid_argument(where(node) + " names " + quoted(relative) +
                                        ", which points outside the pack");
        return path;
    }

    PackBytes file(const pugi::xml_node& node, const char* name, bool required = false)
    {
        const std::string relative = node.attribute(name).value();
        if (relative.empty()) {
            if (required)
                throw std::invalid_argument(where(node) + " has no " + name);
            return nullptr;
        }
        const std::string path = resolve(node, relative);
        auto cached = files_.find(path);
        if (cached != files_.end())
            return cached->second;
        auto bytes = std::make_shared<const std::vector<uint8_t>>(readWholeFile(path));
        files_[path] = bytes;
        return bytes;
    }

    PackBytes picture(const pugi::xml_node& node, const char* name, bool required = false)
    {
        PackBytes bytes = file(node, name, required);
        if (bytes && !decoded_.count(bytes.get())) {
            if (!isPicture(*bytes))
                throw std::invalid_argument(where(node) + " " + name + " " +
                                            quoted(node.attribute(name).value()) +
                                            " is not a picture");
            decoded_.insert(bytes.get());
        }
        return bytes;
    }

    std::string xmlText(const pugi::xml_node& node, const char* name)
    {
        PackBytes bytes = file(node, name);
        if (!bytes)
            return {};
        std::string text(bytes->begin(), bytes->end());
        pugi::xml_document check;
        if (!check.load_buffer(text.data(), text.size()) || !check.document_element())
            throw std::invalid_argument(where(node) + " " + name + " " +
                                        quoted(node.attribute(name).value()) + " is not XML");
        return text;
    }

    void readKinds(const pugi::xml_node& list)
    {
        std::set<int32_t> seen;
        for (pugi::xml_node n : list.children("kind")) {
            PackPanelKind kind{integer(n, "id"), n.attribute("name").value()};
            unique(seen, n, kind.id);
            if (kind.id < 1 || kind.id > 8)
                throw std::invalid_argument(where(n) + " is not a panel kind (1 to 8)");
            pack_.panelKinds_.push_back(kind);
        }
    }

    void readCandyCategories(const pugi::xml_node& list)
    {
        std::set<int32_t> seen;
        for (pugi::xml_node n : list.children("category")) {
            PackCandyCategory c{integer(n, "id"), n.attribute("name").value(), integer(n, "parent"),
                                integer(n, "order")};
            unique(seen, n, c.id);
            pack_.candyCategories_.push_back(c);
        }
        for (const PackCandyCategory& c : pack_.candyCategories_)
            if (c.parentId != 0 && !seen.count(c.parentId))
                throw std::invalid_argument(pack_.indexPath_ + ": panel category " +
                                            std::to_string(c.id) + " names an unknown parent " +
                                            std::to_string(c.parentId));
        candyCategoryIds_ = seen;
    }

    void readCandyTypes(const pugi::xml_node& list)
    {
        std::set<int32_t> seen;
        for (pugi::xml_node n : list.children("type")) {
            PackCandyType t;
            t.id = integer(n, "id");
            unique(seen, n, t.id);
            t.name = n.attribute("name").value();
            t.kind = integer(n, "kind");
            bool known = pack_.panelKinds_.empty() ? (t.kind >= 1 && t.kind <= 8) : false;
            for (const PackPanelKind& k : pack_.panelKinds_)
                known = known || k.id == t.kind;
            if (!known)
                throw std::invalid_argument(where(n) + " has an unknown kind " +
                                            std::to_string(t.kind));
            t.categoryId = integer(n, "category");
            if (t.categoryId != 0 && !candyCategoryIds_.count(t.categoryId))
                throw std::invalid_argument(where(n) + " names an unknown category " +
                                            std::to_string(t.categoryId));
            t.nominalWidth = length(n, "nominalWidth");
            t.nominalHeight = length(n, "nominalHeight");
            t.width = length(n, "width");
            t.height = length(n, "height");
            t.rotateDegree = integer(n, "rotate");
            t.listed = flag(n, "listed", true);
            t.stripAcross = flag(n, "stripAcross", false);
            t.option14 = integer(n, "option14");
            t.tower = length(n, "tower");
            t.plan = picture(n, "plan", true);
            t.plan2 = picture(n, "plan2");
            for (int i = 0; i < 4; ++i)
                t.textures[size_t(i)] = picture(n, ("texture" + std::to_string(i)).c_str());
            t.profile = xmlText(n, "profile");
            pack_.candyTypes_.push_back(std::move(t));
        }
    }

    void readFacilityCategories(const pugi::xml_node& list, int32_t parentId)
    {
        for (pugi::xml_node n : list.children("category")) {
            PackFacilityCategory c{integer(n, "id"), parentId, n.attribute("name").value(),
                                   n.attribute("level").value()};
            if (c.id <= 0)
                throw std::invalid_argument(where(n) + " needs a positive id");
            unique(facilityCategoryIds_, n, c.id);
            if (!c.level.empty() && c.level != "group" && c.level != "brand" && c.level != "series")
                throw std::invalid_argument(where(n) + " has an unknown level " + quoted(c.level));
            pack_.facilityCategories_.push_back(c);
            readFacilityCategories(n, c.id);
        }
    }

    PackBytes mesh(const pugi::xml_node& n, int32_t& format)
    {
        const std::string relative = n.attribute("mesh").value();
        PackBytes bytes = file(n, "mesh");
        format = 0;
        if (!bytes)
            return nullptr;
        const auto ends = [&](const char* suffix) {
            const size_t k = std::strlen(suffix);
            return relative.size() >= k &&
                   strcasecmp(relative.c_str() + relative.size() - k, suffix) == 0;
        };
        const std::vector<uint8_t>& b = *bytes;
        if (ends(".x") && b.size() >= 16 && std::memcmp(b.data(), "xof ", 4) == 0)
            format = kMeshX;
        else if (ends(".3ds") && b.size() >= 6 && b[0] == 0x4D && b[1] == 0x4D)
            format = kMesh3ds;
        else
            throw std::invalid_argument(
                where(n) + " mesh " + quoted(relative) +
                " is neither a DirectX text file (.x) nor a 3DS file (.3ds)");
        return bytes;
    }

    void readModels(const pugi::xml_node& list)
    {
        std::set<int32_t> seen;
        for (pugi::xml_node n : list.children("model")) {
            PackModel m;
            m.id = integer(n, "id");
            unique(seen, n, m.id);
            m.name = n.attribute("name").value();
            m.kind = integer(n, "kind");
            m.flags = integer(n, "flags");
            if (m.kind < 0 || m.kind > 0xFFFF || m.flags < 0 || m.flags > 0x7FFF)
                throw std::invalid_argument(where(n) + " kind or flags out of range");
            m.listWidth = length(n, "listWidth");
            m.listHeight = length(n, "listHeight");
            m.picture = picture(n, "picture", true);
            m.texture = picture(n, "texture");
            m.mesh = mesh(n, m.meshFormat);
            m.width = length(n, "width");
            m.height = length(n, "height");
            m.length = number(n, "length", 1);
            m.baseRotation = triple(n, "baseRotation");
            m.naturalSize = triple(n, "naturalSize");
            m.scaleX = number(n, "scaleX", 1);
            m.scaleY = number(n, "scaleY", 1);
            m.zUp = flag(n, "zUp", false);
            m.categoryId = integer(n, "category");
            if (m.categoryId != 0 && !facilityCategoryIds_.count(m.categoryId))
                throw std::invalid_argument(where(n) + " names an unknown category " +
                                            std::to_string(m.categoryId));
            m.typeId = integer(n, "typeId");
            m.option23 = flag(n, "option23", false);
            m.defaultMaterials = xmlText(n, "materials");
            pack_.models_.push_back(std::move(m));
        }
    }

    void readSamples(const pugi::xml_node& list)
    {
        std::set<int32_t> seen;
        for (pugi::xml_node n : list.children("sample")) {
            PackStaticSample s;
            s.id = integer(n, "id");
            if (s.id <= 0)
                throw std::invalid_argument(where(n) + " needs a positive id");
            unique(seen, n, s.id);
            s.name = n.attribute("name").value();
            s.photo = picture(n, "photo", true);
            s.mask = picture(n, "mask");
            const std::string rect = n.attribute("maskRect").value();
            if (!rect.empty()) {
                size_t start = 0;
                for (int i = 0; i < 4; ++i) {
                    const size_t comma = rect.find(',', start);
                    if ((i < 3) != (comma != std::string::npos))
                        throw std::invalid_argument(where(n) + " maskRect needs four numbers");
                    s.maskRect[size_t(i)] =
                        parseInt(rect.substr(start, comma - start), where(n) + " maskRect");
                    start = comma + 1;
                }
                if (s.maskRect[2] < 0 || s.maskRect[3] < 0)
                    throw std::invalid_argument(where(n) + " maskRect has a negative size");
            }
            s.polygonXml = xmlText(n, "polygons");
            pack_.staticSamples_.push_back(std::move(s));
        }
    }

    void readSolidSamples(const pugi::xml_node& list)
    {
        std::set<int32_t> seen;
        for (pugi::xml_node n : list.children("sample")) {
            PackSolidSample s;
            s.id = integer(n, "id");
            if (s.id <= 0)
                throw std::invalid_argument(where(n) + " needs a positive id");
            unique(seen, n, s.id);
            s.name = n.attribute("name").value();
            s.designXml = xmlText(n, "design");
            if (s.designXml.empty())
                throw std::invalid_argument(where(n) + " has no design");
            s.ceilingScale = integer(n, "ceilingScale", 1);
            if (s.ceilingScale < 1)
                throw std::invalid_argument(where(n) + " ceilingScale must be at least 1");
            pack_.solidSamples_.push_back(std::move(s));
        }
    }

public:
    std::string realFolder_;

private:
    CataloguePack& pack_;
    std::map<std::string, PackBytes> files_;
    std::set<const void*> decoded_;
    std::set<int32_t> candyCategoryIds_;
    std::set<int32_t> facilityCategoryIds_;
};

CataloguePack CataloguePack::load(const std::string& indexPath)
{
    CataloguePack pack;
    pack.indexPath_ = indexPath;
    pack.folder_ = folderOf(indexPath);
    const std::string text = readTextFile(indexPath);
    PackIndexReader reader(pack);
    char real[PATH_MAX];
    if (::realpath(pack.folder_.c_str(), real) == nullptr)
        throw FileError("cannot open the pack folder " + pack.folder_);
    reader.realFolder_ = std::string(real) + "/";
    reader.read(text);
    return pack;
}

const PackCandyType* CataloguePack::candyType(int32_t id) const
{
    for (const PackCandyType& t : candyTypes_)
        if (t.id == id)
            return &t;
    return nullptr;
}

const PackModel* CataloguePack::model(int32_t id, int32_t typeId) const
{
    for (const PackModel& m : models_)
        if (m.id == id || (typeId != 0 && m.typeId == typeId))
            return &m;
    return nullptr;
}

const PackStaticSample* CataloguePack::staticSample(int32_t id) const
{
    for (const PackStaticSample& s : staticSamples_)
        if (s.id == id)
            return &s;
    return nullptr;
}

const PackSolidSample* CataloguePack::solidSample(int32_t id) const
{
    for (const PackSolidSample& s : solidSamples_)
        if (s.id == id)
            return &s;
    return nullptr;
}

} // namespace vhost
