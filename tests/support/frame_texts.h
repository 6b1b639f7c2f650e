#pragma once
// The texts of the frame being built, as the frame packet holds them, each
// with its extent across the display from its font and alignment.
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/pctext.h"
#include "scene3d/pcframe.h"

namespace korvena_test {

struct TextBox {
  std::string text;
  int left, right, y;
};

inline std::vector<TextBox> FrameTexts() {
  std::vector<TextBox> a;
  const std::int32_t iFont = pctext_iCurrentFont;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext) {
      if (i->uKind != PCFRAME_KIND_TEXT || i->pszText == nullptr || i->pszText[0] == '\0') continue;
      pctext_iCurrentFont = i->aiCoord[2];
      const int w = pctext_WidthGet(i->pszText), x = i->aiCoord[0];
      const int left = i->aiCoord[3] == 0 ? x : (i->aiCoord[3] == 1 ? x - w : x - w / 2);
      a.push_back({i->pszText, left, left + w, i->aiCoord[1]});
    }
  pctext_iCurrentFont = iFont;
  return a;
}

}  // namespace korvena_test
