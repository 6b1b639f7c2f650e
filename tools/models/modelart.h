// The props and stadium shells of a match as PCS models: goal frames of the
// three eras, the corner flag, and for each stadium look a full shell and a
// smaller one for the software renderer whose faces are listed in painting
// order. Everything is built from assets/models and the looks of
// assets/ground, and checked before it is written.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace modelart {

struct Vec {
  float x = 0, y = 0, z = 0;
};

struct Face {
  uint32_t a = 0, b = 0, c = 0;
  uint32_t uPage = 0;
  float uv[6] = {};
};

struct Model {
  std::vector<Vec> aVertices;
  std::vector<Face> aFaces;
};

struct Era {
  std::string sName;   // "62", "74", "78"
  bool bRound = false;
  float fSize = 0.12f;
  std::string sSupport;  // posts, stanchions, box
  float fTopAdd = 0, fGroundAdd = 0;
  bool bBackIsBar = false;
};

struct GoalSources {
  float fWidth = 0, fBar = 0, fBack = 0, fTop = 0, fGround = 0;
  std::vector<Era> aEras;
  float fFlagHeight = 0, fFlagRadius = 0, fClothW = 0, fClothH = 0;
};

struct StandLook {
  std::string sName;
  int32_t iTiers = 1, iRoof = 0, iOpenCorners = 0;
};

struct ShellSources {
  float fGap = 0, fFront = 0, fTierDepth = 0, fTierRise = 0, fFascia = 0, fRoofClear = 0;
  float fSegment = 0, fSwSegment = 0, fPylonBase = 0, fPylonTop = 0, fLampW = 0, fLampH = 0;
  std::map<std::string, std::array<float, 9>> mLights;  // four (x, z), height
  std::vector<StandLook> aLooks;
};

// Reads goals.txt and stadiums.txt (sModels) and looks.txt (sGround); false
// with the file, line and reason in sError on a broken source.
bool GoalsParse(const std::string& sText, GoalSources& out, std::string& sError);
bool ShellsParse(const std::string& sText, const std::string& sLooks, ShellSources& out, std::string& sError);

struct OutModel {
  std::string sPath;  // under the models folder, forward slashes
  Model model;
};

// Every model: goals/<era>postb.pcs and <era>bar.pcs, goals/flag.pcs,
// stadiums/<look>.pcs and stadiums/SW<look>.pcs.
std::vector<OutModel> BuildAll(const GoalSources& g, const ShellSources& s);

// Checks the models: indexes, page ids (0 to 7, at most 8), texel pairs
// within the page, frames inside the net's box, flag inside its own, stands
// beyond the surround, software shells without night faces and smaller than
// their full shells, every file once. Empty when sound.
std::string Validate(const std::vector<OutModel>& models, const GoalSources& g);

// The PCS file bytes of a model.
std::vector<uint8_t> PcsBytes(const Model& m);

// Page ids of the stadium faces: 0 page1 (seats and walls), 1 page2 (roofs,
// terraces, outer walls), 2 the hoarding texture (advert fascias), 3 the
// lamp banks (night only), 5 the pylons' lattice (page2, drawn after the
// solid faces), 7 the lamps' glow (night only, drawn last).
enum : uint32_t { kPageSeats = 0, kPageRoof = 1, kPageAdverts = 2, kPageLamps = 3, kPageLattice = 5, kPageGlow = 7 };

}  // namespace modelart
