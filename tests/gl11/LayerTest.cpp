// The OpenGL 1.1 layer alone, where a fault would not show in the scenes' pixels or would show
// only as a vague difference: batching and list replay, nested lists and the current values they
// leave, lists compiled on their first call, programs made in the background, the attribute stack,
// errors, gluBuild2DMipmaps' sizes, and a new context starting from the defaults.
#include "Gl11Context.h"
#include "Gl11Stats.h"
#include "Offscreen.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kSize = 64;

class Gl11Layer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSize, 0, kSize, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // The colour at pixel (x, y), as 0xRRGGBB.
  uint32_t At(int x, int y) {
    glFinish();
    const std::vector<uint8_t> p = gl_.Pixels();
    const uint8_t* c = &p[(static_cast<size_t>(y) * kSize + x) * 4];
    return uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
  }
  static void Square(double x, double y, double side) {
    glBegin(GL_QUADS);
    glVertex2d(x, y);
    glVertex2d(x + side, y);
    glVertex2d(x + side, y + side);
    glVertex2d(x, y + side);
    glEnd();
  }

  Offscreen gl_{kSize, kSize};
};

TEST_F(Gl11Layer, PrimitivesUnderOneStateAreOneDrawAndAStateChangeStartsAnother) {
  glFinish();
  const Gl11Stats before = gl11Stats();
  glColor3f(1, 0, 0);
  for (int i = 0; i < 100; ++i) Square(i % 10 * 6, i / 10 * 6, 4);
  glColor3f(0, 1, 0);
  Square(60, 60, 2);
  glFinish();
  EXPECT_EQ(gl11Stats().draws - before.draws, 1u);
  glEnable(GL_CULL_FACE);
  Square(0, 0, 2);
  glDisable(GL_CULL_FACE);
  Square(2, 2, 2);
  glFinish();
  EXPECT_EQ(gl11Stats().draws - before.draws, 3u);
  EXPECT_EQ(At(1, 1), 0x00FF00u);
  EXPECT_EQ(At(61, 61), 0x00FF00u);
  EXPECT_EQ(At(7, 7), 0xFF0000u);
}

TEST_F(Gl11Layer, GlyphsUnderOneTextureAreOneDrawWhateverTheModelviewAndStatesKeepTheirPrograms) {
  GLuint textures[2];
  glGenTextures(2, textures);
  const std::vector<uint8_t> white(4 * 4 * 4, 255);
  for (GLuint t : textures) {
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
  }
  // A glyph as a font's list holds it: a textured quad, then a step to the right.
  const GLuint glyph = glGenLists(1);
  glNewList(glyph, GL_COMPILE);
  glBegin(GL_QUADS);
  const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const auto& c : corners) {
    glTexCoord2f(static_cast<float>(c[0]), static_cast<float>(c[1]));
    glVertex2d(c[0] * 4, c[1] * 4);
  }
  glEnd();
  glTranslated(5, 0, 0);
  glEndList();
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, textures[0]);
  glColor3f(1, 0, 0);
  const Gl11Stats before = gl11Stats();

  glPushMatrix();
  for (int i = 0; i < 10; ++i) glCallList(glyph);  // a label: x 0 .. 49
  glPopMatrix();
  glPushMatrix();
  glTranslated(0, 10, 0);
  glScaled(2, 2, 1);
  glCallList(glyph);  // x 0 .. 8, y 10 .. 18
  glPopMatrix();
  glFinish();
  EXPECT_EQ(gl11Stats().draws - before.draws, 1u);
  EXPECT_EQ(At(47, 2), 0xFF0000u);
  EXPECT_EQ(At(52, 2), 0u);
  EXPECT_EQ(At(7, 16), 0xFF0000u);
  EXPECT_EQ(At(2, 20), 0u);

  // A texture change splits the run, and so does the projection.
  glBindTexture(GL_TEXTURE_2D, textures[1]);
  glCallList(glyph);
  glBindTexture(GL_TEXTURE_2D, textures[0]);
  glCallList(glyph);
  glMatrixMode(GL_PROJECTION);
  glTranslated(0, 16, 0);
  glMatrixMode(GL_MODELVIEW);
  glCallList(glyph);
  glFinish();
  EXPECT_EQ(gl11Stats().draws - before.draws, 4u);
  EXPECT_EQ(At(12, 18), 0xFF0000u);  // the third glyph since the label, 16 pixels up

  // Leaving a state and coming back to it takes its program again.
  const Gl11Stats made = gl11Stats();
  for (int i = 0; i < 3; ++i) {
    glDisable(GL_TEXTURE_2D);
    Square(0, 40, 4);
    glEnable(GL_TEXTURE_2D);
    glCallList(glyph);
  }
  glFinish();
  EXPECT_EQ(gl11Stats().programsMade - made.programsMade, 1u);  // the untextured one
  EXPECT_EQ(gl11Stats().draws - made.draws, 6u);
  EXPECT_EQ(At(17, 58), 0xFF0000u);  // the first square, after three glyphs
}

TEST_F(Gl11Layer, CountersCountCallsToOpenGLESAndFramesEndAtTheFirstFlushAfterADraw) {
  Square(0, 0, 8);
  glFinish();  // a frame, so that the next starts here
  const Gl11Stats before = gl11Stats();
  EXPECT_GE(before.programsMade, 1u);
  EXPECT_GE(before.programSwitches, 1u);
  // With no error of its own waiting, the layer asks OpenGL ES for one: one call.
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_EQ(gl11Stats().glesCalls - before.glesCalls, 1u);
  EXPECT_EQ(gl11Stats().frames, before.frames);  // no draw since the last frame

  Square(0, 0, 8);
  glFlush();
  glFlush();  // as a swap after the frame's own glFlush: no frame of its own
  const Gl11Stats frame = gl11FrameStats();
  EXPECT_EQ(gl11Stats().frames - before.frames, 1u);
  EXPECT_EQ(frame.frames, 1u);
  EXPECT_EQ(frame.draws, 1u);
  EXPECT_EQ(frame.streamedBytes, gl11Stats().streamedBytes - before.streamedBytes);
  EXPECT_GT(frame.streamedBytes, 0u);
  EXPECT_GT(frame.glesCalls, frame.draws);  // the glFlush at least
  EXPECT_EQ(frame.programsMade, 0u);
  EXPECT_EQ(gl11Stats().glesCalls - before.glesCalls, frame.glesCalls + 1);  // + the second glFlush
}

// With programs in the background: the general program alone draws while the scene loads (frames
// that meet a new state or give the GL a texture image, and the first that does neither); after
// them the state's own program is started, and taken into use once the GL says it is complete,
// drawing the same.
TEST_F(Gl11Layer, ProgramsInTheBackgroundAreTakenIntoUseOnceComplete) {
  gl11ProgramsInBackground(true);
  const Gl11Stats before = gl11Stats();
  const auto frame = [&] {
    glColor3f(1, 0.5f, 0);
    Square(8, 8, 16);
    glFlush();
  };
  frame();
  const uint8_t texel[4] = {};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  frame();
  frame();
  EXPECT_EQ(gl11Stats().programsMade, before.programsMade) << "the general program, made with the switch";
  EXPECT_EQ(At(16, 16), 0xFF8000u);
  const unsigned long long switches = gl11Stats().programSwitches;
  for (int i = 0; i < 10000 && gl11Stats().programSwitches == switches; ++i) frame();
  EXPECT_EQ(gl11Stats().programsMade, before.programsMade + 1) << "started once";
  EXPECT_EQ(gl11Stats().programSwitches, switches + 1) << "taken into use";
  frame();
  EXPECT_EQ(gl11Stats().programSwitches, switches + 1);
  EXPECT_EQ(At(16, 16), 0xFF8000u);
}

// A context's state is its own: another made, drawn in and gone, current or not, leaves it as it was.
TEST_F(Gl11Layer, AnotherContextLeavesTheStateAlone) {
  glColor3f(0, 0, 1);
  glEnable(GL_CULL_FACE);
  {
    Offscreen other(8, 8);
    ASSERT_TRUE(other.Ok());
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << "a new context starts from the defaults";
    glColor3f(1, 0, 0);
    ASSERT_TRUE(gl_.MakeCurrent());
    gl11ContextDestroyed(&other);  // not current: dropped alone
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  }
  ASSERT_TRUE(gl_.MakeCurrent());
  glDisable(GL_CULL_FACE);
  Square(0, 0, 8);
  EXPECT_EQ(At(4, 4), 0x0000FFu);
  gl11ContextMadeCurrent(nullptr);
  glColor3f(1, 1, 1);  // no context: nothing to change
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  ASSERT_TRUE(gl_.MakeCurrent());
  Square(0, 0, 8);
  EXPECT_EQ(At(4, 4), 0x0000FFu);
}

TEST_F(Gl11Layer, NestedListsReplayTheirVerticesAndLeaveTheirMatrixAndColour) {
  const GLuint lists = glGenLists(2);
  ASSERT_NE(lists, 0u);
  // A square without a colour of its own, then a step to the right.
  glNewList(lists, GL_COMPILE);
  Square(2, 2, 8);
  glTranslated(16, 0, 0);
  glEndList();
  // The square twice, the second time in a colour the list sets.
  glNewList(lists + 1, GL_COMPILE);
  glCallList(lists);
  glColor3f(0, 0, 1);
  glCallList(lists);
  glEndList();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glFinish();
  const Gl11Stats before = gl11Stats();

  glColor3f(1, 1, 0);
  glListBase(lists);
  const GLubyte offsets[] = {1, 1};
  glCallLists(2, GL_UNSIGNED_BYTE, offsets);
  glFinish();
  // The four squares' 24 vertices are streamed, untextured ones with a position and a colour
  // alone (16 bytes).
  EXPECT_EQ(gl11Stats().streamedBytes - before.streamedBytes, 24u * 16u);
  EXPECT_EQ(At(5, 5), 0xFFFF00u);   // the caller's colour
  EXPECT_EQ(At(21, 5), 0x0000FFu);  // the list's own
  EXPECT_EQ(At(37, 5), 0x0000FFu);  // still the list's: it is current now
  EXPECT_EQ(At(53, 5), 0x0000FFu);
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  EXPECT_DOUBLE_EQ(m[12], 64.0);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[2], 1.0f);
  EXPECT_FLOAT_EQ(colour[0], 0.0f);

  // Deleted lists draw nothing, and their names are not handed out again at once (as Mesa does
  // it): a stale name does not reach someone else's new list.
  glDeleteLists(lists, 2);
  glLoadIdentity();
  glCallList(lists);
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  EXPECT_DOUBLE_EQ(m[12], 0.0);
  EXPECT_EQ(glGenLists(2), lists + 2);
}

TEST_F(Gl11Layer, ADeferredListIsCompiledOnceOnItsFirstCallEvenFromAListBeingCompiled) {
  const GLuint lists = glGenLists(3);
  int builds = 0, unwanted = 0;
  gl11DeferList(lists, [&] {
    ++builds;
    glNewList(lists, GL_COMPILE);
    glColor3f(1, 0, 0);
    Square(2, 2, 8);
    glTranslated(16, 0, 0);
    glEndList();
  });
  gl11DeferList(lists + 2, [&] { ++unwanted; });
  EXPECT_TRUE(glIsList(lists));
  EXPECT_EQ(builds, 0);
  glColor3f(0, 0, 1);
  glNewList(lists + 1, GL_COMPILE_AND_EXECUTE);
  glCallList(lists);
  glCallList(lists);
  glEndList();
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_EQ(At(5, 5), 0xFF0000u);
  EXPECT_EQ(At(21, 5), 0xFF0000u);
  // The outer list recorded the calls, not the build.
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT);
  glCallList(lists + 1);
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(At(21, 5), 0xFF0000u);
  // Deleted before its first call, a list's build never runs.
  glDeleteLists(lists + 2, 1);
  glCallList(lists + 2);
  EXPECT_EQ(unwanted, 0);
  EXPECT_FALSE(glIsList(lists + 2));
}

TEST_F(Gl11Layer, AttributeStackRestoresWhatItSavedAndErrorsAreKeptUntilRead) {
  glEnable(GL_DEPTH_TEST);
  glListBase(7);
  glPushAttrib(GL_ENABLE_BIT | GL_LIST_BIT);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glEnable(GL_CLIP_PLANE2);
  glListBase(300);
  glBlendFunc(GL_ONE, GL_ONE);  // not in the saved groups: stays
  glPopAttrib();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE2));
  GLint value = 0;
  glGetIntegerv(GL_LIST_BASE, &value);
  EXPECT_EQ(value, 7);
  glGetIntegerv(GL_BLEND_SRC, &value);
  EXPECT_EQ(value, GL_ONE);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  glPopAttrib();  // nothing saved
  glBegin(GL_TRIANGLES);
  glEnable(GL_BLEND);  // not allowed between glBegin and glEnd
  glEnd();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_STACK_UNDERFLOW));  // the first error only
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  glEnable(0x0B50);  // lighting: not in the subset
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_ENUM));

  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPopClientAttrib();
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
  EXPECT_EQ(value, 4);
}

TEST_F(Gl11Layer, Build2DMipmapsScalesSidesToTheNearestPowerOfTwoAsGluDoes) {
  // Sizes and what Mesa's GLU 9.0 makes of them (halfway cases go up).
  const int cases[][4] = {{256, 384, 256, 512}, {256, 383, 256, 256}, {100, 50, 128, 64},
                          {96, 96, 128, 128},   {3, 5, 4, 4},         {200, 300, 256, 256}};
  for (const auto& c : cases) {
    std::vector<uint8_t> pixels(static_cast<size_t>(c[0]) * c[1] * 4, 200);
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    EXPECT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, c[0], c[1], GL_RGBA, GL_UNSIGNED_BYTE, pixels.data()), 0);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, c[2]) << c[0] << "x" << c[1];
    EXPECT_EQ(h, c[3]) << c[0] << "x" << c[1];
    glDeleteTextures(1, &t);
  }
  // A mipmapped texture is complete with its default minifying filter and modulates the colour.
  std::vector<uint8_t> grey(16 * 16 * 3, 128);
  GLuint t = 0;
  glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 16, 16, GL_RGB, GL_UNSIGNED_BYTE, grey.data());
  glEnable(GL_TEXTURE_2D);
  glColor3f(1, 0, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2d(0, 0);
  glTexCoord2f(1, 0);
  glVertex2d(kSize, 0);
  glTexCoord2f(1, 1);
  glVertex2d(kSize, kSize);
  glTexCoord2f(0, 1);
  glVertex2d(0, kSize);
  glEnd();
  EXPECT_EQ(At(30, 30), 0x800080u);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(Gl11LayerContext, ANewContextStartsFromTheDefaultsWithoutTheOldListsAndTextures) {
  GLuint list = 0, texture = 0;
  {
    Offscreen first(8, 8);
    ASSERT_TRUE(first.Ok()) << first.Error();
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glTranslated(1, 0, 0);
    glEndList();
    glGenTextures(1, &texture);
    glEnable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glTranslated(0, 5, 0);
  }
  Offscreen second(8, 8);
  ASSERT_TRUE(second.Ok()) << second.Error();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  EXPECT_DOUBLE_EQ(m[13], 0.0);
  glCallList(list);
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  EXPECT_DOUBLE_EQ(m[12], 0.0);
  GLuint again = 0;
  glGenTextures(1, &again);
  EXPECT_EQ(again, texture);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 8);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
