// The LED grid of the cube editor as the tests expect it (see editor_layout.h).
#include "app/tests/e2e/editor_layout.h"

namespace e2e {

namespace {

struct TLayerGrid {
  int Size;
  int Left[6];
  int Top[6];
};

constexpr TLayerGrid kLayers[6] = {
    {40, {70, 120, 175, 230, 285, 340}, {245, 300, 350, 400, 455, 510}},
    {35, {370, 415, 460, 505, 550, 595}, {195, 240, 285, 325, 370, 415}},
    {30, {620, 655, 690, 725, 760, 795}, {140, 175, 210, 245, 280, 315}},
    {25, {815, 845, 875, 905, 935, 965}, {100, 130, 160, 190, 220, 250}},
    {20, {985, 1010, 1035, 1060, 1085, 1110}, {60, 85, 110, 135, 160, 185}},
    {15, {1125, 1145, 1165, 1185, 1205, 1225}, {40, 60, 80, 100, 120, 140}},
};

}  // namespace

int LedColumn(int n) { return (n - 1) % 6; }

TPlace LedPlace(int n) {
  const TLayerGrid& layer = kLayers[(n - 1) / 36];
  const int row = ((n - 1) % 36) / 6;
  TPlace place{layer.Left[LedColumn(n)], layer.Top[row], layer.Size, layer.Size};
  if (n == 2 || n == 8) place.Left = 125;
  if (n == 3) place.Left = 180;
  if (n == 30) place.Top = 450;
  return place;
}

}  // namespace e2e
