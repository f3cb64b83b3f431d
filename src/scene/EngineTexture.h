// Engine textures made from pictures the platform layer decoded; the engine never reads the
// picture files itself.
#pragma once

#include <QImage>

#include <irrlicht.h>

namespace vs {

/** The engine texture named `name`: the driver's existing texture of that name, or a new one
 *  made from the picture (converted to 32-bit ARGB, the engine's A8R8G8B8 words). With
 *  decodeSrgb the red, green and blue of every texel are taken from sRGB to linear values
 *  before upload; alpha is kept. The driver owns the texture (the caller does not drop it).
 *  Returns null for a null driver, a null picture or a picture the driver cannot take. */
irr::video::ITexture* makeEngineTexture(irr::video::IVideoDriver* driver, const QImage& picture,
                                        const irr::io::path& name, bool decodeSrgb = false);

} // namespace vs
