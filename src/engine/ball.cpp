// The match ball record and its position getters.
#include "engine/ball.h"

Ball ball_oBall;

Ball* ball_Get() { return &ball_oBall; }
std::int32_t ball_XGet(const Ball* poBall) { return poBall->iX128 / 128; }
std::int32_t ball_HeightGet(const Ball* poBall) { return poBall->iHeight128 / 128; }
std::int32_t ball_YGet(const Ball* poBall) { return poBall->iY128 / 128; }
