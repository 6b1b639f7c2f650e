#pragma once
// A small library of text menus drawn over the match: named menus made of
// named pages of items, held in three fixed pools and driven by a handful of
// input flags. A page is either one list or two columns.
#include <cstdint>

constexpr std::int32_t MENU_MAX = 2;
constexpr std::int32_t MENU_PAGE_MAX = 12;
constexpr std::int32_t MENU_ITEM_MAX = 20;
constexpr std::int32_t MENU_NAME_MAX = 32;  // characters of a menu, page or item name
constexpr std::int32_t MENU_LINK_MAX = 30;  // characters of the page an item leads to
constexpr std::int32_t MENU_FLAGS = 9;

// Input flags read and cleared by the menu step.
enum : std::int32_t {
  MENU_FLAG_UP = 0,
  MENU_FLAG_DOWN = 1,
  MENU_FLAG_SELECT = 2,
  MENU_FLAG_BACK = 3,
  MENU_FLAG_OPEN = 4,
};

enum : std::int32_t {
  MENU_STATE_CLOSED = 0,
  MENU_STATE_SHOWING = 1,
  MENU_STATE_RUNNING = 2,
};

enum : std::int32_t {
  MENU_LAYOUT_LIST = 0,
  MENU_LAYOUT_TWO_COLUMNS = 1,
};

// Item types: 1 can be chosen, 3 and 4 head a column of a two-column page,
// anything else is shown dimmed.
enum : std::int32_t {
  MENU_ITEM_DIMMED = 0,
  MENU_ITEM_SELECTABLE = 1,
  MENU_ITEM_COLUMN_A = 3,
  MENU_ITEM_COLUMN_B = 4,
};

struct Menu;
// An item's operation: runs while the menu is in its running state and
// answers whether it wants to run again on the next tick.
using MenuOperation = std::int32_t (*)(Menu* pm);

struct MenuItem {
  std::int32_t iSpare;
  MenuItem* poNext;
  MenuItem* poPrev;
  char szLabel[MENU_NAME_MAX + 1];
  std::int32_t iType;
  std::int32_t aiWords[2];
  char szSelectPage[MENU_LINK_MAX + 1];
  char szBackPage[MENU_LINK_MAX + 1];
  MenuOperation pfnOperation;
};

struct MenuPage {
  MenuPage* poNext;
  char szName[MENU_NAME_MAX + 1];
  MenuItem* poFirst;
  MenuItem* poLast;
  MenuItem* poCurrent;
  std::int32_t cItems;
  std::int32_t iIndex;
  std::int32_t eLayout;
  std::int32_t iWord;
};

struct Menu {
  char szName[MENU_NAME_MAX + 1];
  Menu* poNext;
  MenuPage* poFirstPage;
  MenuPage* poCurrentPage;
  char szCurrentPage[MENU_NAME_MAX + 1];
  std::int32_t eState;
};

// Where the drawing puts one item of a page.
struct MenuItemPlace {
  const MenuItem* poItem;
  std::int32_t x, y;  // x is the centre of the text
  std::uint8_t r, g, b;
};

void menu_Reset();
// Each answers 1 when added, 0 when refused (a name already used, an unknown
// menu or page, or a full pool).
std::int32_t menu_MenuAdd(const char* pszName);
Menu* menu_MenuFind(const char* pszName);
std::int32_t menu_PageAdd(const char* pszMenu, const char* pszPage, std::int32_t eLayout, std::int32_t iWord);
MenuPage* menu_PageFind(const char* pszMenu, const char* pszPage);
std::int32_t menu_ItemAdd(const char* pszMenu, const char* pszPage, const char* pszLabel, std::int32_t iType,
                          const char* pszSelectPage, const char* pszBackPage, MenuOperation pfnOperation);
// Sets the type of the item at index on the menu's first page.
void menu_ItemTypeSet(const char* pszMenu, std::int32_t iType, std::int32_t iIndex);
void menu_Open(const char* pszMenu, const char* pszPage);
void menu_Close(const char* pszMenu);
void menu_Step(const char* pszMenu);

void menu_PositionSet(std::int32_t x, std::int32_t y);
void menu_RowHeightSet(std::int32_t h);
void menu_RowsSet(std::int32_t n);
std::int32_t menu_FlagGet(std::int32_t i);
void menu_FlagSet(std::int32_t i, std::int32_t iValue);

// The places of a page's items as the drawing prints them; answers how many.
std::int32_t menu_PageLayout(const MenuPage* pmp, MenuItemPlace* aoOut, std::int32_t cMax);
std::int32_t menu_iPoolUsedGet(std::int32_t iPool);  // 0 menus, 1 pages, 2 items
