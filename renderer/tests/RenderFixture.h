// Helpers for renderer tests: a scratch folder, an error-collecting handler, and reading back
// the pictures the displays wrote.
#pragma once

#include "ri.h"

#include <string>
#include <vector>

namespace ritest {

struct Picture
{
    int width = 0, height = 0, channels = 0;
    std::vector<float> pixels;
    float at(int x, int y, int c = 0) const
    {
        return pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(channels) + size_t(c)];
    }
};

/// Reads a picture file as floats (0..1 for integer formats); empty when it cannot.
Picture readPicture(const std::string& path);

/// A fresh scratch folder per test, removed at the end.
class ScratchDir
{
public:
    ScratchDir();
    ~ScratchDir();
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

/// Messages the error handler received since the last clear.
struct ErrorLog
{
    struct Entry
    {
        int code, severity;
        std::string text;
    };
    static std::vector<Entry>& entries();
    static void handler(RtInt code, RtInt severity, char* message);
    static int count(int code);
    static bool contains(const std::string& text);
};

/// Frame options for a float picture of `w` x `h` through the file display: one sample at
/// each pixel centre, box filter, no quantisation.
void exactFrame(const std::string& file, int w, int h, const char* mode = "rgba");

/// An orthographic camera looking down +z with the screen window (-s, s) both ways.
void orthoCamera(float s);

/// A square in the plane z = `z` of side 2 `half`, facing -z.
void square(float half, float z);

} // namespace ritest
