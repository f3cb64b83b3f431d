// The pictures engine textures were made from, by texture name. The renderer export needs a
// texture's pixels; drivers that keep no texels (the null driver of a headless render) cannot
// give them back, so the texture maker leaves each picture here.
#pragma once

#include <QImage>

#include <string>

namespace vs {

/** Remembers `picture` (shared, not copied) as the picture of the texture `name`. */
void rememberTexturePicture(const std::string& name, const QImage& picture);
/** The picture of the texture `name`, or a null image. */
QImage texturePicture(const std::string& name);
/** Forgets every picture (the scene's textures were all removed). */
void forgetTexturePictures();

} // namespace vs
