// The display preferences as one block of values: what the display setup dialog edits, what
// its Cancel puts back and what undoing its OK restores.
#pragma once

#include "document/SolidViewState.h"

struct DisplayPreferenceBlock
{
    double fov = 72;
    /** COLORREF layout: red in the low byte. */
    int ambientColor = 0x404040;
    double eyeAboveFloor = 1.35;
    bool roofUseLighting = true;
    bool roofBackSemitransparent = true;
    int roofBackAlphaPercent = 50;
    bool simpleLighting = true;
    bool invertTop = false;
    bool gammaCorrection = false;
    double lowestLayerHeight = 24000;

    /** The preferences of `state`. */
    static DisplayPreferenceBlock of(const SolidViewState& state)
    {
        DisplayPreferenceBlock b;
        b.fov = state.fov;
        b.ambientColor = state.ambientColor;
        b.eyeAboveFloor = state.eyeAboveFloor;
        b.roofUseLighting = state.roofUseLighting;
        b.roofBackSemitransparent = state.roofBackSemitransparent;
        b.roofBackAlphaPercent = state.roofBackAlphaPercent;
        b.simpleLighting = state.simpleLighting;
        b.invertTop = state.invertTop;
        b.gammaCorrection = state.gammaCorrection;
        b.lowestLayerHeight = state.lowestLayerHeight;
        return b;
    }

    /** Writes the preferences the display setup dialog edits into `state`; invertTop and
     *  lowestLayerHeight, which other controls own, stay as they are. */
    void storeEditedInto(SolidViewState& state) const
    {
        state.fov = fov;
        state.ambientColor = ambientColor;
        state.eyeAboveFloor = eyeAboveFloor;
        state.roofUseLighting = roofUseLighting;
        state.roofBackSemitransparent = roofBackSemitransparent;
        state.roofBackAlphaPercent = roofBackAlphaPercent;
        state.simpleLighting = simpleLighting;
        state.gammaCorrection = gammaCorrection;
    }

    /** Writes the whole block into `state`. */
    void storeInto(SolidViewState& state) const
    {
        storeEditedInto(state);
        state.invertTop = invertTop;
        state.lowestLayerHeight = lowestLayerHeight;
    }

    bool operator==(const DisplayPreferenceBlock& o) const
    {
        return fov == o.fov && ambientColor == o.ambientColor && eyeAboveFloor == o.eyeAboveFloor &&
               roofUseLighting == o.roofUseLighting &&
               roofBackSemitransparent == o.roofBackSemitransparent &&
               roofBackAlphaPercent == o.roofBackAlphaPercent &&
               simpleLighting == o.simpleLighting && invertTop == o.invertTop &&
               gammaCorrection == o.gammaCorrection && lowestLayerHeight == o.lowestLayerHeight;
    }
    bool operator!=(const DisplayPreferenceBlock& o) const { return !(*this == o); }
};
