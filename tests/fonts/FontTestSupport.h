// Helpers shared by the font tests and the font screenshot: BFF blobs built in memory, a flat
// projection of the GUI plane, and summaries of captured geometry.
#pragma once

#include "GLHarness.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fonttest {

// The advance table of the built-in font, by character code.
extern const uint8_t kBuiltinWidths[256];

// A BFF blob: header, width table and width x height x bits/8 pixel bytes made by pixel(i).
std::vector<uint8_t> MakeBffBlob(int32_t width, int32_t height, int32_t cellWidth, int32_t cellHeight, uint8_t bits,
                                 uint8_t baseChar, const uint8_t* widths);

// An orthographic view of the plane: plane (x, y) lands on window ((x - left) * scale,
// (y - bottom) * scale). Leaves the modelview at identity.
struct PlaneView {
  double left, bottom, scale;
  double PlaneX(double windowX) const { return windowX / scale + left; }
  double PlaneY(double windowY) const { return windowY / scale + bottom; }
};
PlaneView UseOrthoPlane(const testgl::HeadlessGL& gl, double left, double bottom, double scale);

struct Box {
  double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
  bool Empty() const { return minX > maxX; }
  void Add(double x, double y);
};

// Bounds of all vertices of the primitives, in plane units under `view`.
Box PlaneBounds(const std::vector<testgl::FeedbackPrimitive>& prims, const PlaneView& view);

// Counts of each kind of primitive.
struct Kinds {
  size_t polygons = 0, lines = 0, points = 0;
};
Kinds CountKinds(const std::vector<testgl::FeedbackPrimitive>& prims);

// Sum of the signed areas (window units, counter-clockwise positive) of the polygons.
double SignedArea(const std::vector<testgl::FeedbackPrimitive>& prims, double* smallest = nullptr);

// The file fontconfig picks for a family and weight (OpenType scale), as the font layer does.
std::string FontFileFor(const std::string& family, int weight);

}  // namespace fonttest
