/* Resource libraries: shared objects that carry named files (shader descriptions, display
 * drivers) for the module to extract. A resource library exports one C function,
 * VsResourceTable, returning its table of (type, name, bytes). The table is generated at build
 * time from files by vs_add_resource_library (cmake/VsResourceLibrary.cmake), whose generated
 * C source includes this header, so the part above the C++ class is plain C. */
#ifndef VS_RESOURCE_LIBRARY_H
#define VS_RESOURCE_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** One file carried by a resource library. `type` and `name` are zero-terminated; `data` holds
 *  `size` bytes (not zero-terminated; never null, even when `size` is 0). */
typedef struct VsResourceEntry
{
    const char* type;
    const char* name;
    const unsigned char* data;
    uint32_t size;
} VsResourceEntry;

/** The one export of a resource library: stores the number of entries in `*count` (when
 *  `count` is not null) and returns the first of them. The table lives as long as the library
 *  stays loaded. */
typedef const VsResourceEntry* (*VsResourceTableFunction)(uint32_t* count);

/** Name under which a resource library exports its table function. */
#define VS_RESOURCE_TABLE_SYMBOL "VsResourceTable"

#ifdef __cplusplus
} /* extern "C" */

#include <memory>
#include <string>
#include <vector>

/** A loaded resource library; the library is unloaded when this object is destroyed, which
 *  invalidates every entry obtained from it. */
class ResourceLibrary
{
public:
    /** Loads the resource library `fileName`: first from the current directory ("./" + name),
     *  then wherever the dynamic loader's search finds it. A name holding a '/' is taken as a
     *  path and loaded as given. Returns null, without throwing, when nothing loads or the
     *  library exports no resource table. */
    static std::unique_ptr<ResourceLibrary> open(const std::string& fileName);

    ~ResourceLibrary();
    ResourceLibrary(const ResourceLibrary&) = delete;
    ResourceLibrary& operator=(const ResourceLibrary&) = delete;

    /** Returns the first entry whose type and name equal the given ones, compared without
     *  regard to ASCII case, or null when there is none. */
    const VsResourceEntry* find(const std::string& type, const std::string& name) const;

    /** Returns every entry of the given type (compared without regard to ASCII case), in table
     *  order. */
    std::vector<const VsResourceEntry*> entries(const std::string& type) const;

    /** Returns the number of entries in the table. */
    size_t size() const { return count_; }

    /** Returns the path the library was loaded from, as handed to the loader. */
    const std::string& path() const { return path_; }

private:
    ResourceLibrary(void* handle, std::string path, const VsResourceEntry* table, size_t count);

    void* handle_;
    std::string path_;
    const VsResourceEntry* table_;
    size_t count_;
};

#endif /* __cplusplus */

#endif /* VS_RESOURCE_LIBRARY_H */
