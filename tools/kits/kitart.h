#pragma once
// The players' textures, drawn from the kit table's lines and fixed
// parameters: kit templates (shirt patterns, shorts, socks) in colour and,
// for the kits of 1958 and 1962, in black and white and in sepia; the
// goalkeepers', referee's and manager's kits; boots; shirt numbers 1-22
// (light digits on the magenta key); heads by hair style, facial hair and
// colour; the skin sets; the unique heads of the player database.
#include <string>
#include <vector>

namespace kitart {

// Writes every texture under texturesDir (the data tree's textures folder);
// the number of files written, -1 when one cannot be written.
int WriteAll(const std::vector<std::string>& asKitLines, const std::vector<std::string>& asUniqueHeads,
             const std::string& sTexturesDir);

// The pixels of one shirt-number texture, 32 x 32, r g b per texel, top
// row first (for the tests).
std::vector<unsigned char> NumberTexels(int iNumber);

}  // namespace kitart
