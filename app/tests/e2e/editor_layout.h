// Where the cube editor's controls stand and which colours its LEDs show, written down
// independently of the program's own tables so that a moved LED or a wrong colour is caught from
// outside. Pure data and arithmetic: must never include the program's headers or a Windows header.
#pragma once

#include <cstdint>

namespace e2e {

struct TPlace {
  int Left, Top, Width, Height;  // client coordinates of the editor window
  int CentreX() const { return Left + Width / 2; }
  int CentreY() const { return Top + Height / 2; }
};

constexpr int kLedCount = 216;

// LED n (1..216): layer (n-1)/36, row ((n-1)%36)/6, column (n-1)%6, four LEDs of layer 1 off the grid.
TPlace LedPlace(int n);
int LedColumn(int n);

// Body colours as 0x00BBGGRR; column 0 is dark in system colour 2 (the caller resolves it).
constexpr std::uint32_t kLitColor = 0x0000FF;
constexpr std::uint32_t kDarkColor = 0xF0CAA6;
constexpr int kDarkSystemColorOfColumn0 = 2;

// Starting places of the other controls (labels size themselves to their caption from there).
constexpr TPlace kFrameEditPlace{45, 625, 985, 20};
constexpr TPlace kEffectMemoPlace{640, 380, 605, 180};
constexpr TPlace kResetButtonPlace{1045, 600, 180, 55};
constexpr TPlace kSaveButtonPlace{25, 160, 290, 60};
constexpr TPlace kTitleLabelPlace{175, 45, 321, 61};
constexpr TPlace kFrameLabelPlace{500, 585, 250, 22};
constexpr TPlace kEffectLabelPlace{770, 355, 468, 17};
constexpr TPlace kCubeImagePlace{20, 10, 135, 125};
constexpr TPlace kLayerLabelPlaces[6] = {{170, 565, 123, 40}, {455, 480, 98, 33},  {685, 350, 78, 28},
                                         {870, 280, 69, 24},  {1035, 210, 58, 20}, {1160, 165, 50, 17}};
constexpr int kWindowWidth = 1274;
constexpr int kWindowHeight = 709;

}  // namespace e2e
