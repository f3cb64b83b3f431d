// The text shown under a catalogue entry's picture.
#pragma once

#include <string>

/**
 * The label of a catalogue entry named `name`: the name without a trailing picture-file
 * extension (".jpg", ".bmp", ".png", ".gif", ".tif", ".tiff", any case), since some entries are
 * named after the file their picture came from. Other names are returned unchanged; a name that
 * is nothing but an extension stays as it is.
 */
std::string catalogueLabel(const std::string& name);
