// The host's callback table: sixteen slots, module-wide, surviving ClearMasterData.
#pragma once

#include "VantrelSolid.h"

struct HostCallbacks
{
    VsFreeModelData freeModelData = nullptr;
    VsGetModelData getModelData = nullptr;
    VsComposeDesignXml composeDesignXml = nullptr;
    VsAddCeilingHost addCeilingHost = nullptr;
    VsMoveCeilingHost moveCeilingHost = nullptr;
    VsDeleteCeilingHost deleteCeilingHost = nullptr;
    VsRotateCeilingHost rotateCeilingHost = nullptr;
    VsLayTiles layTiles = nullptr;
    VsGetCandyTypeImages getCandyTypeImages = nullptr;
    VsChooseStaticSample chooseStaticSample = nullptr;
    VsGetCandyTypeTextures getCandyTypeTextures = nullptr;
    VsLoadStaticSample loadStaticSample = nullptr;
    VsSaveModelMaterials saveModelMaterials = nullptr;
    VsSetModelCategory setModelCategory = nullptr;
    VsRequestCandyType requestCandyType = nullptr;
    VsRequestFacilityModel requestFacilityModel = nullptr;

    /** The fourteen slots BeginPourMasterData gives; every one is overwritten, null or not. */
    void setPourSlots(VsFreeModelData freeModel, VsGetModelData getModel,
                      VsComposeDesignXml compose, VsAddCeilingHost addHost,
                      VsMoveCeilingHost moveHost, VsDeleteCeilingHost deleteHost,
                      VsRotateCeilingHost rotateHost, VsLayTiles lay, VsGetCandyTypeImages images,
                      VsChooseStaticSample choose, VsGetCandyTypeTextures textures,
                      VsLoadStaticSample loadSample, VsSaveModelMaterials saveMaterials,
                      VsSetModelCategory setCategory)
    {
        freeModelData = freeModel;
        getModelData = getModel;
        composeDesignXml = compose;
        addCeilingHost = addHost;
        moveCeilingHost = moveHost;
        deleteCeilingHost = deleteHost;
        rotateCeilingHost = rotateHost;
        layTiles = lay;
        getCandyTypeImages = images;
        chooseStaticSample = choose;
        getCandyTypeTextures = textures;
        loadStaticSample = loadSample;
        saveModelMaterials = saveMaterials;
        setModelCategory = setCategory;
    }

    /** The six slots RenderRoom gives; the other ten keep what an earlier pour put there. */
    void setRenderSlots(VsFreeModelData freeModel, VsGetModelData getModel,
                        VsRequestCandyType requestType, VsGetCandyTypeImages images,
                        VsGetCandyTypeTextures textures, VsRequestFacilityModel requestModel)
    {
        freeModelData = freeModel;
        getModelData = getModel;
        requestCandyType = requestType;
        getCandyTypeImages = images;
        getCandyTypeTextures = textures;
        requestFacilityModel = requestModel;
    }
};
