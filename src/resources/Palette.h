#pragma once

#include <QColor>

// One palette for every picture, so the toolbar, the user list and the banners look like one set.
namespace Palette {
// Tulmo's own colour: a deep teal, with an amber accent.
constexpr QRgb Brand = 0xff13909a;
constexpr QRgb BrandLight = 0xff3cc4c4;
constexpr QRgb BrandDark = 0xff0a5560;
constexpr QRgb Accent = 0xfff2a23a;
constexpr QRgb AccentDark = 0xffb86a10;

// Outlines and neutral parts.
constexpr QRgb Ink = 0xff26303a;
constexpr QRgb InkSoft = 0xff55626e;
constexpr QRgb Metal = 0xffb8c2cc;
constexpr QRgb MetalDark = 0xff7a8794;
constexpr QRgb Paper = 0xfffbfbf7;

// Signals.
constexpr QRgb Go = 0xff3aa657;
constexpr QRgb GoDark = 0xff1f6e35;
constexpr QRgb Stop = 0xffd83a2e;
constexpr QRgb StopDark = 0xff8e1d16;
constexpr QRgb Gold = 0xfff5c542;
constexpr QRgb GoldDark = 0xffb5851a;
constexpr QRgb Sky = 0xff4a8fe0;
constexpr QRgb SkyDark = 0xff1f4f95;
constexpr QRgb Wood = 0xffb07339;
constexpr QRgb WoodDark = 0xff6b4220;
constexpr QRgb Skin = 0xfff1c8a0;

// The red X over the pictures of squelched accounts.
constexpr QRgb CrossRed = 0xffe8221b;
} // namespace Palette
