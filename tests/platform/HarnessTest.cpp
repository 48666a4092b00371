#include "GLHarness.h"
#include "Win32Calls.h"

#include <gtest/gtest.h>

using namespace testgl;

TEST(Harness, ClearsAndReadsBack) {
  HeadlessGL gl(64, 48);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  const auto px = gl.ReadPixels();
  EXPECT_EQ(px[0], 255);
  EXPECT_EQ(px[1], 0);
}

TEST(Harness, FeedbackReportsAQuadAsPolygons) {
  HeadlessGL gl(64, 64);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  const auto prims = Polygons(CaptureFeedback([] {
    glBegin(GL_QUADS);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.5f, 0.5f);
    glVertex2f(-0.5f, 0.5f);
    glEnd();
  }));
  ASSERT_FALSE(prims.empty());
  float minX = 1e9f, maxX = -1e9f;
  for (const auto& p : prims)
    for (const auto& v : p.vertices) {
      minX = std::min(minX, v.x);
      maxX = std::max(maxX, v.x);
    }
  EXPECT_FLOAT_EQ(minX, 16.0f);
  EXPECT_FLOAT_EQ(maxX, 48.0f);
}

TEST(Harness, RecorderCatchesMessageBoxes) {
  MessageBoxRecorder rec;
  EXPECT_EQ(MessageBoxA(nullptr, "hello", "Caption", MB_OK | MB_ICONEXCLAMATION), IDOK);
  ASSERT_EQ(rec.Boxes().size(), 1u);
  EXPECT_EQ(rec.Boxes()[0].text, "hello");
  EXPECT_EQ(rec.Boxes()[0].caption, "Caption");
}
