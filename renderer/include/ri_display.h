/* The display driver interface of libri.so. A driver is a shared object named TYPE.so that
 * exports the three functions below (plain C). The renderer loads it by display type, opens
 * one image per display, hands it the finished pixels bucket by bucket (from one thread at a
 * time, in any order), and closes it. A driver that writes a file writes it atomically: only
 * a close with commit set makes the file appear; a frame that failed or was stopped leaves
 * nothing behind. */
#ifndef RI_DISPLAY_H
#define RI_DISPLAY_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RiDisplayFormat
{
    int width, height;           /* the image in pixels */
    int originX, originY;        /* where the image lies in the full frame (crop window) */
    int frameWidth, frameHeight; /* the full frame */
    int channels;                /* values per pixel */
    const char* channelNames;    /* one letter per channel, e.g. "rgba" or "z" */
    int bitsPerSample;           /* 8 or 16: integers in 0..255 / 0..65535; 32: float */
    float worldToCamera[16];     /* row-vector matrices, translation in 12..14 */
    float worldToScreen[16];     /* to the screen window normalised to -1..1 both ways */
} RiDisplayFormat;

/* Opens an image; returns an opaque handle, or null with a one-line message in error. */
typedef void* (*RiDisplayOpenFunc)(const char* name, const RiDisplayFormat* format, char* error,
                                   int errorSize);
/* Receives the pixels of [x0, x1) x [y0, y1) (image coordinates), `channels` floats per pixel,
 * rows top to bottom. Returns 0 on success. */
typedef int (*RiDisplayDataFunc)(void* handle, int x0, int y0, int x1, int y1, const float* data);
/* Finishes the image: with commit non-zero the file is written (returns 0 on success), else it
 * is discarded. The handle is freed either way. */
typedef int (*RiDisplayCloseFunc)(void* handle, int commit, char* error, int errorSize);

#define RI_DISPLAY_OPEN "RiDisplayOpen"
#define RI_DISPLAY_DATA "RiDisplayData"
#define RI_DISPLAY_CLOSE "RiDisplayClose"

#ifdef __cplusplus
}
#endif

#endif /* RI_DISPLAY_H */
