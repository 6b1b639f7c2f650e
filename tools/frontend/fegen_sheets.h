// The sheets of the team selection ("team") and the team sheet ("tactics"):
// each painter returns the sheet's frames in sprite order, sized by the
// screens' layout records.
#pragma once

#include <string>
#include <vector>

#include "art/art_image.h"

// Reads the world map outlines; a damaged file stops the generator with a
// message naming the line.
std::vector<art::Image> fegen_TeamSheet(const std::string& worldmapPath);
void fegen_WorldMapCheck(const std::string& worldmapPath);
std::vector<art::Image> fegen_TacticsSheet();
// The history set-up's and hub's panels painted on their backdrops.
void fegen_FhsetPaint(art::Image& backdrop);
void fegen_FhmainPaint(art::Image& backdrop);
// The history fixtures ("fhfl") and roll of honour ("fhroh") sheets over a themed backdrop.
std::vector<art::Image> fegen_FixturesSheet(const art::Image& themed);
std::vector<art::Image> fegen_RollSheet(const art::Image& themed);
// The groups and tables sheet ("fhgt").
std::vector<art::Image> fegen_FhgtSheet();

// Small shared painting steps of the two painters.
namespace fegen_paint {
using Pt = std::pair<double, double>;
// Even-odd fill of a polygon, blended at alpha.
void Polygon(art::Image& img, const std::vector<Pt>& pts, art::Rgb c, double alpha = 1.0);
// The polygon's edges, one pixel wide.
void Outline(art::Image& img, const std::vector<Pt>& pts, art::Rgb c);
void Blend(art::Image& img, int x, int y, art::Rgb c, double alpha);
void Rect(art::Image& img, int x, int y, int w, int h, art::Rgb c, double alpha = 1.0);
void Frame(art::Image& img, int x, int y, int w, int h, art::Rgb c, int t = 1);
art::Image Crop(const art::Image& img, int x, int y, int w, int h);
// A digit 0..9 drawn as segments in a w x h cell.
void Digit(art::Image& img, int d, int x, int y, int w, int h, art::Rgb c);
}  // namespace fegen_paint
