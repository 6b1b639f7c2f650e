// ns per call of the math library's hot operations. Inputs vary per iteration
// so that nothing is folded away.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "framework/math/qmath.h"

namespace {

void BM_QMathSin(benchmark::State& state) {
  int32_t angle = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QMathSin(angle));
    angle += 257;
  }
}
BENCHMARK(BM_QMathSin);

void BM_QMathCos(benchmark::State& state) {
  int32_t angle = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QMathCos(angle));
    angle += 257;
  }
}
BENCHMARK(BM_QMathCos);

void BM_QMathAtan2(benchmark::State& state) {
  int32_t x = -5000, y = 3000;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QMathAtan2(x, y));
    x += 37;
    y -= 53;
    if (x > 5000) x = -5000;
    if (y < -5000) y = 5000;
  }
}
BENCHMARK(BM_QMathAtan2);

void BM_QMathFixMul(benchmark::State& state) {
  QMathFixed a = 12345, b = -6789;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QMathFixMul(a, b));
    a += 3;
    b += 7;
  }
}
BENCHMARK(BM_QMathFixMul);

void BM_QMathFixDiv(benchmark::State& state) {
  QMathFixed a = 12345, b = 6789;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QMathFixDiv(a, b));
    a += 3;
    b = (b + 7) | 1;
  }
}
BENCHMARK(BM_QMathFixDiv);

void BM_QMathMatrixMultiply(benchmark::State& state) {
  QMathMatrix a, b, out;
  QMathMatrixIdentity(&a);
  QMathMatrixIdentity(&b);
  QMathMatrixSetRotateY(&a, 5000);
  QMathMatrixSetRotateX(&b, 3000);
  for (auto _ : state) {
    QMathMatrixMultiply(&out, &a, &b);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_QMathMatrixMultiply);

void BM_QMathMatrixTransformPoint(benchmark::State& state) {
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  QMathMatrixSetRotateY(&m, 5000);
  const QMathVec3 t = {1, 2, 3};
  QMathMatrixSetTranslation(&m, &t);
  QMathVec3 p = {10, 20, 30}, out;
  for (auto _ : state) {
    QMathMatrixTransformPoint(&m, &out, &p);
    benchmark::DoNotOptimize(out);
    p.x += 1.0f;
  }
}
BENCHMARK(BM_QMathMatrixTransformPoint);

void BM_QMathRandNext(benchmark::State& state) {
  QMathRandState saved;
  QMathRandStateSave(&saved);
  for (auto _ : state) {
    benchmark::DoNotOptimize(QMathRandNext());
  }
  QMathRandStateRestore(&saved);
}
BENCHMARK(BM_QMathRandNext);

}  // namespace
