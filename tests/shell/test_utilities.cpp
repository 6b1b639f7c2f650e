// Shared utilities at their boundaries: strings, lists and queues, the scratch
// buffer, the per-frame tasks and the integer trigonometry.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

#include "framework/math/qmath.h"
#include "shell/cstring.h"
#include "shell/imath.h"
#include "shell/list.h"
#include "shell/mem.h"
#include "shell/pause.h"
#include "shell/vsync.h"

namespace {

TEST(CString, ToIntBoundaries) {
  EXPECT_EQ(cstring_iToInt("  -42"), -42);
  EXPECT_EQ(cstring_iToInt("\t\n+17"), 17);
  EXPECT_EQ(cstring_iToInt("12a"), 0);
  EXPECT_EQ(cstring_iToInt(""), 0);
  EXPECT_EQ(cstring_iToInt("-"), 0);
  EXPECT_EQ(cstring_iToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(cstring_iToInt("-2147483648"), INT32_MIN);
  // Beyond 32 bits the value saturates instead of wrapping.
  EXPECT_EQ(cstring_iToInt("2147483648"), INT32_MAX);
  EXPECT_EQ(cstring_iToInt("99999999999999999999999"), INT32_MAX);
  EXPECT_EQ(cstring_iToInt("-99999999999999999999999"), INT32_MIN);
}

TEST(CString, CompareCopyAndUpper) {
  EXPECT_EQ(cstring_iCompare("abc", "abc"), 0);
  EXPECT_EQ(cstring_iCompare("abd", "abc"), 1);
  EXPECT_EQ(cstring_iCompare("ab", "abc"), -'c');
  // Bytes compare as signed: 0xE9 is below 'a'.
  EXPECT_LT(cstring_iCompare("\xE9", "a"), 0);
  EXPECT_TRUE(cstring_bEqual("Korvena", "Korvena"));
  EXPECT_FALSE(cstring_bEqual("Korvena", "korvena"));
  char sz[16];
  std::memset(sz, 'x', sizeof sz);
  EXPECT_EQ(cstring_CopyN(sz, "abcdef", 3), sz);
  EXPECT_EQ(std::memcmp(sz, "abcx", 4), 0);
  cstring_CopyN(sz, "ab", 8);
  EXPECT_STREQ(sz, "ab");
  EXPECT_STREQ(cstring_CopyUpper(sz, "Fiji 1958\xE9"), "FIJI 1958\xE9");
  EXPECT_STREQ(cstring_Copy(sz, "None"), "None");
}

TEST(CString, FieldCopyStopsAtSeparatorCtrlZAndCapacity) {
  const char* pszLine = "Brazil,1958,,Sweden\x1A" "rest";
  const char* p = pszLine;
  char szField[8];
  EXPECT_EQ(cstring_FieldCopy(&p, szField, sizeof szField, ','), 7);
  EXPECT_STREQ(szField, "Brazil");
  EXPECT_EQ(cstring_FieldCopy(&p, szField, sizeof szField, ','), 5);
  EXPECT_STREQ(szField, "1958");
  EXPECT_EQ(cstring_FieldCopy(&p, szField, sizeof szField, ','), 1);
  EXPECT_STREQ(szField, "");
  EXPECT_EQ(cstring_FieldCopy(&p, szField, sizeof szField, ','), 7);
  EXPECT_STREQ(szField, "Sweden");
  EXPECT_STREQ(p, "rest");
  // A field longer than the destination is cut, the cursor still passes it.
  p = "Czechoslovakia,x";
  EXPECT_EQ(cstring_FieldCopy(&p, szField, sizeof szField, ','), 15);
  EXPECT_STREQ(szField, "Czechos");
  EXPECT_STREQ(p, "x");
  // The end of the text stops the copy and the cursor stays on it.
  EXPECT_EQ(cstring_FieldCopy(&p, szField, sizeof szField, ','), 2);
  EXPECT_STREQ(szField, "x");
  EXPECT_EQ(*p, '\0');
  EXPECT_EQ(cstring_FieldCopy(&p, szField, sizeof szField, ','), 1);
}

struct Item {
  ListNode oNode;
  int iValue;
};

TEST(ListAndQueue, InsertUnlinkAndFifoOrder) {
  Item a{{0, nullptr, nullptr}, 1}, b{{0, nullptr, nullptr}, 2}, c{{0, nullptr, nullptr}, 3};
  EXPECT_EQ(list_InsertAfter(&b.oNode, &a.oNode), nullptr);
  EXPECT_EQ(list_InsertAfter(&c.oNode, &a.oNode), &b.oNode);  // a c b
  EXPECT_EQ(a.oNode.pNext, &c.oNode);
  EXPECT_EQ(b.oNode.pPrev, &c.oNode);
  list_Unlink(&c.oNode);
  EXPECT_EQ(a.oNode.pNext, &b.oNode);
  EXPECT_EQ(b.oNode.pPrev, &a.oNode);
  EXPECT_DEATH(list_InsertAfter(&a.oNode, nullptr), "pListN1");
  EXPECT_DEATH(list_InsertAfter(nullptr, &a.oNode), "pListN2");

  Queue q;
  queue_Init(&q);
  EXPECT_EQ(queue_RemoveHead(&q), nullptr);
  queue_Append(&q, &a.oNode);
  queue_Append(&q, &b.oNode);
  queue_Append(&q, &c.oNode);
  EXPECT_EQ(queue_RemoveHead(&q), &a.oNode);
  EXPECT_EQ(queue_RemoveHead(&q), &b.oNode);
  EXPECT_EQ(q.pTail, &c.oNode);
  EXPECT_EQ(queue_RemoveHead(&q), &c.oNode);
  EXPECT_EQ(q.pHead, nullptr);
  EXPECT_EQ(q.pTail, nullptr);
  queue_Append(&q, &b.oNode);
  EXPECT_EQ(q.pHead, &b.oNode);
  EXPECT_EQ(q.pTail, &b.oNode);
}

TEST(Scratch, LockedOnceGuardedAndUnlockChecked) {
  EXPECT_EQ(MEM_SCRATCH_SIZE, 204800);
  EXPECT_EQ(MEM_GUARD_WORD_1, 0xBADBABEEu);
  EXPECT_EQ(MEM_GUARD_WORD_2, 0xCAFEBABEu);
  EXPECT_EQ(VSYNC_TASKS_MAX, 10);
  mem_Init();
  EXPECT_TRUE(mem_bGuardsIntact());
  EXPECT_EQ(mem_bIsAvailable(), 1);
  auto* pb = static_cast<unsigned char*>(mem_pvLock());
  ASSERT_NE(pb, nullptr);
  EXPECT_EQ(mem_pvLock(), nullptr);
  // The whole 200 KB can be written without touching the guards.
  std::memset(pb, 0xA5, MEM_SCRATCH_SIZE);
  EXPECT_TRUE(mem_bGuardsIntact());
  mem_Unlock();
  EXPECT_EQ(mem_pvLock(), pb);
  mem_Unlock();
  EXPECT_DEATH(mem_Unlock(), "mem_Lock == 0");
}

int g_cTaskA, g_cTaskB, g_cTaskC;
int32_t TaskA() { g_cTaskA++; return 1; }
int32_t TaskOnce() { g_cTaskB++; return 0; }
int32_t TaskC() { g_cTaskC++; return 1; }

TEST(VSync, TasksRunInOrderRemoveThemselvesAndTheListIsBounded) {
  vsync_Init();
  g_cTaskA = g_cTaskB = g_cTaskC = 0;
  vsync_TaskAdd(TaskOnce);
  vsync_TaskAdd(TaskA);
  EXPECT_EQ(cVSync_Tasks, 2);
  vsync_TasksRun();
  EXPECT_EQ(g_cTaskB, 1);
  EXPECT_EQ(g_cTaskA, 1);
  EXPECT_EQ(cVSync_Tasks, 1);
  EXPECT_EQ(vsync_iFrame, 1);
  // The task that removed itself freed slot 0 while slot 1 is live: the next
  // task goes into the free slot and the live one keeps running.
  vsync_TaskAdd(TaskC);
  EXPECT_EQ(cVSync_Tasks, 2);
  vsync_TasksRun();
  EXPECT_EQ(g_cTaskA, 2);
  EXPECT_EQ(g_cTaskC, 1);
  for (int i = 0; i < 8; i++) vsync_TaskAdd(TaskA);
  EXPECT_EQ(cVSync_Tasks, 10);
  vsync_TaskAdd(TaskC);  // an eleventh is ignored
  EXPECT_EQ(cVSync_Tasks, 10);
  g_cTaskA = g_cTaskC = 0;
  vsync_TasksRun();
  EXPECT_EQ(g_cTaskA, 9);
  EXPECT_EQ(g_cTaskC, 1);
  vsync_Init();
  EXPECT_EQ(cVSync_Tasks, 0);
  EXPECT_EQ(vsync_iFrame, 0);
}

// The degree a linear scan of the table finds for |r|.
int32_t ReferenceDegree(int32_t iAbs) {
  int32_t d = 0;
  for (int32_t k = 0; k < 90; k++)
    if (imath_aiTanTable[k] <= iAbs) d = k;
  return d;
}

TEST(IMath, TangentTableHoldsTheTunedAndTheComputedValues) {
  const int32_t aiLow[8] = {0, 0, 1, 3, 6, 7, 10, 12};
  for (int d = 0; d < 8; d++) EXPECT_EQ(imath_aiTanTable[d], aiLow[d]) << d;
  EXPECT_EQ(imath_aiTanTable[89], 7331);
  EXPECT_EQ(imath_aiTanTable[90], 401);
  for (int d = 8; d < 89; d++)
    EXPECT_EQ(imath_aiTanTable[d], std::lround(std::tan(d * M_PI / 180.0) * 128.0)) << d;
}

TEST(IMath, AtanRatioMatchesALinearSearchForEveryRatio) {
  EXPECT_EQ(imath_AtanRatio(0), 0);
  EXPECT_EQ(imath_AtanRatio(7332), 200);
  EXPECT_EQ(imath_AtanRatio(-7332), 603);
  EXPECT_EQ(imath_AtanRatio(-2000000000), 603);
  for (int32_t r = 1; r <= 7331; r++) {
    int32_t iExpected = ReferenceDegree(r) * 401 * 128 / 360 / 64;
    ASSERT_EQ(imath_AtanRatio(r), iExpected) << r;
    ASSERT_EQ(imath_AtanRatio(-r), 803 - iExpected) << r;
  }
  EXPECT_EQ(imath_AtanRatio(128), 45 * 401 * 128 / 360 / 64);
}

TEST(IMath, Atan2Quadrants) {
  EXPECT_EQ(imath_Atan2(0, 5), 0);
  EXPECT_EQ(imath_Atan2(5, 0), 200);
  EXPECT_EQ(imath_Atan2(-5, 0), 602);
  EXPECT_EQ(imath_Atan2(0, 0), 0);
  // Nearly along the x axis (ratio beyond the table) a line keeps its side:
  // toward -x stays near 602 whichever side of the axis it leans.
  EXPECT_EQ(imath_Atan2(-100000, 1), 603);
  EXPECT_EQ(imath_Atan2(-100000, -1), 200 + 401);
  EXPECT_EQ(imath_Atan2(100000, 1), 200);
  EXPECT_EQ(imath_Atan2(100000, -1), 603 + 401 - 803);
  EXPECT_EQ(imath_Atan2(5, 5), imath_AtanRatio(128));
  EXPECT_EQ(imath_Atan2(0, -5), 401);
  EXPECT_EQ(imath_Atan2(-5, -5), imath_AtanRatio(128) + 401);
  // Just below a full turn the sum wraps: 803 - h + 401 >= 804 loses 803.
  EXPECT_EQ(imath_Atan2(5, -5), imath_AtanRatio(-128) + 401 - 803);
  EXPECT_EQ(imath_Abs(-7), 7);
  EXPECT_EQ(imath_bIsPositive(0), 0);
  EXPECT_EQ(imath_bIsPositive(3), 1);
}

TEST(IMath, SinAndCosScale) {
  EXPECT_EQ(imath_CosScale(4096, 0), (65534 >> 4) * 4096 >> 12);
  EXPECT_EQ(imath_SinScale(4096, 90), (65534 >> 4) * 4096 >> 12);
  EXPECT_EQ(imath_SinScale(4096, 0), 0);
  EXPECT_LT(imath_CosScale(288, 180), 0);
}

TEST(IMath, SinAndCosScaleAtEveryDegree) {
  for (int32_t iDegrees = -720; iDegrees <= 720; iDegrees++) {
    int32_t iAngle = static_cast<int32_t>(static_cast<int64_t>(iDegrees) * 65536 / 360);
    for (int32_t r : {1, 100, 4096, 9936}) {
      ASSERT_EQ(imath_SinScale(r, iDegrees), static_cast<int32_t>((static_cast<int64_t>(QMathSin(iAngle) >> 4) * r) >> 12))
          << iDegrees << " " << r;
      ASSERT_EQ(imath_CosScale(r, iDegrees), static_cast<int32_t>((static_cast<int64_t>(QMathCos(iAngle) >> 4) * r) >> 12))
          << iDegrees << " " << r;
    }
  }
}

TEST(Pause, FlagSetAndCleared) {
  pause_Set();
  EXPECT_EQ(pause_bIsPaused(), 1);
  pause_Clear();
  EXPECT_EQ(pause_bIsPaused(), 0);
  pause_Set();
  pause_FlagClear();
  EXPECT_EQ(pause_bIsPaused(), 0);
}

}  // namespace
