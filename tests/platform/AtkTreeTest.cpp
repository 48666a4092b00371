// The accessibility tree as ATK objects, read in-process as atk-bridge reads it for AT-SPI: the
// objects, their places on the screen, their actions, and what listeners are told across updates.
#include "AtkTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

atk_tree::WindowFacts gWindow;
atk_tree::WindowFacts WindowNow() { return gWindow; }

std::vector<std::pair<int32_t, uint8_t>> gRan;
bool Note(int32_t id, uint8_t action) {
  gRan.emplace_back(id, action);
  return true;
}

// A screen holding a panel with a label, and a focused button beside the panel.
TAccessTree Page() {
  TAccessTree t;
  t.Nodes = {{1, -1, AccessRoleScreen, 0, 0, "", 0, 0, 640, 480},
             {2, 0, AccessRoleGroup, AccessFocusable, AccessActionFocus, "", 100, 100, 300, 200},
             {3, 1, AccessRoleText, 0, 0, "hello", 110.6, 120.2, 200.4, 140},
             {4, 0, AccessRoleButton, AccessFocusable | AccessFocused, AccessActionPress | AccessActionFocus, "exit",
              400.5, 300, 500, 330.5}};
  return t;
}

using Ref = std::unique_ptr<AtkObject, decltype(&g_object_unref)>;
Ref Child(AtkObject* parent, int index) { return Ref(atk_object_ref_accessible_child(parent, index), g_object_unref); }

bool Has(AtkObject* object, AtkStateType state) {
  AtkStateSet* set = atk_object_ref_state_set(object);
  const bool has = atk_state_set_contains_state(set, state);
  g_object_unref(set);
  return has;
}

std::vector<int> Extents(AtkObject* object, AtkCoordType coords) {
  int x = 0, y = 0, w = 0, h = 0;
  atk_component_get_extents(ATK_COMPONENT(object), &x, &y, &w, &h, coords);
  return {x, y, w, h};
}

// What listeners hear: "+name" and "-name" for children added and removed, "name:focused=1" and
// the like for state changes.
std::vector<std::string> gHeard;
void OnChildren(AtkObject*, guint, gpointer child, gpointer detail) {
  gHeard.push_back(static_cast<const char*>(detail) + std::string(atk_object_get_name(ATK_OBJECT(child))));
}
void OnState(AtkObject* object, gchar* state, gboolean on, gpointer) {
  gHeard.push_back(std::string(atk_object_get_name(object)) + ":" + state + "=" + (on ? "1" : "0"));
}
void Listen(AtkObject* object) {
  g_signal_connect(object, "children-changed::add", G_CALLBACK(OnChildren), const_cast<char*>("+"));
  g_signal_connect(object, "children-changed::remove", G_CALLBACK(OnChildren), const_cast<char*>("-"));
  g_signal_connect(object, "state-change", G_CALLBACK(OnState), nullptr);
}

class AtkTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gWindow = {"GUI  DEMO", 100, 50, 640, 480, true, true};
    atk_tree::Install(WindowNow);
    atk_tree::WindowChanged();
    SetAccessActionHandler(Note);
    gRan.clear();
    gHeard.clear();
    frame_ = Child(atk_tree::Application(), 0);
  }
  void TearDown() override {
    g_signal_handlers_disconnect_by_func(Frame(), reinterpret_cast<gpointer>(OnChildren), const_cast<char*>("+"));
    g_signal_handlers_disconnect_by_func(Frame(), reinterpret_cast<gpointer>(OnChildren), const_cast<char*>("-"));
    g_signal_handlers_disconnect_by_func(Frame(), reinterpret_cast<gpointer>(OnState), nullptr);
    atk_tree::Update(TAccessTree{});
    SetAccessActionHandler(nullptr);
  }
  AtkObject* Frame() { return frame_.get(); }
  Ref frame_{nullptr, g_object_unref};
};

// What the end-to-end reader does not reach: the other coordinates, states, and actions' edges.
TEST_F(AtkTreeTest, PlacesStatesAndActionsOfTheNodes) {
  atk_tree::Update(Page());
  EXPECT_EQ(atk_get_root(), atk_tree::Application());
  Ref screen = Child(Frame(), 0);
  Ref panel = Child(screen.get(), 0), button = Child(screen.get(), 1);
  Ref label = Child(panel.get(), 0);
  EXPECT_EQ(atk_object_get_role(screen.get()), ATK_ROLE_FILLER);
  EXPECT_EQ(atk_object_get_index_in_parent(button.get()), 1);
  EXPECT_EQ(Child(screen.get(), 2), nullptr);
  EXPECT_EQ(Child(screen.get(), -1), nullptr);
  EXPECT_EQ(Extents(Frame(), ATK_XY_SCREEN), (std::vector<int>{100, 50, 640, 480}));
  // Whole pixels covering the node: on the screen past the window's corner, in the window, and
  // from the panel's corner.
  EXPECT_EQ(Extents(label.get(), ATK_XY_SCREEN), (std::vector<int>{210, 170, 91, 20}));
  EXPECT_EQ(Extents(label.get(), ATK_XY_WINDOW), (std::vector<int>{110, 120, 91, 20}));
  EXPECT_EQ(Extents(label.get(), ATK_XY_PARENT), (std::vector<int>{10, 20, 91, 20}));
  EXPECT_TRUE(Has(panel.get(), ATK_STATE_FOCUSABLE));
  EXPECT_FALSE(Has(label.get(), ATK_STATE_FOCUSABLE));
  gWindow.Shown = false;
  EXPECT_FALSE(Has(button.get(), ATK_STATE_SHOWING));

  AtkAction* press = ATK_ACTION(button.get());
  EXPECT_EQ(atk_action_get_n_actions(press), 2);
  EXPECT_STREQ(atk_action_get_name(press, 1), "focus");
  EXPECT_EQ(atk_action_get_name(press, 2), nullptr);
  EXPECT_TRUE(atk_action_do_action(press, 1));
  EXPECT_FALSE(atk_action_do_action(press, 2));
  EXPECT_FALSE(atk_action_do_action(press, -1));
  EXPECT_TRUE(atk_component_grab_focus(ATK_COMPONENT(panel.get())));
  EXPECT_EQ(atk_action_get_n_actions(ATK_ACTION(label.get())), 0);
  EXPECT_FALSE(atk_component_grab_focus(ATK_COMPONENT(Frame())));
  EXPECT_EQ(gRan, (std::vector<std::pair<int32_t, uint8_t>>{{4, AccessActionFocus}, {2, AccessActionFocus}}));
}

TEST_F(AtkTreeTest, UpdatesKeepObjectsAndTellWhatChanged) {
  atk_tree::Update(Page());
  Ref screen = Child(Frame(), 0);
  Ref panel = Child(screen.get(), 0), button = Child(screen.get(), 1);
  Ref label = Child(panel.get(), 0);
  Listen(screen.get());
  Listen(panel.get());
  Listen(button.get());
  Listen(label.get());

  // The label goes, the button is renamed, loses the focus to the panel and moves into it, and a
  // second node with the panel's ID is not shown twice.
  TAccessTree t = Page();
  t.Nodes[1].States |= AccessFocused;
  t.Nodes[3].States = AccessFocusable | AccessPressed;
  t.Nodes[3].Name = "quit";
  t.Nodes[3].Parent = 1;
  t.Nodes[2] = {2, 0, AccessRoleGroup, 0, 0, "twin", 0, 0, 1, 1};
  atk_tree::Update(t);

  EXPECT_EQ(Child(screen.get(), 0).get(), panel.get());
  ASSERT_EQ(atk_object_get_n_accessible_children(screen.get()), 1);
  ASSERT_EQ(atk_object_get_n_accessible_children(panel.get()), 1);
  EXPECT_EQ(Child(panel.get(), 0).get(), button.get());
  EXPECT_STREQ(atk_object_get_name(button.get()), "quit");
  EXPECT_TRUE(Has(button.get(), ATK_STATE_PRESSED));
  EXPECT_TRUE(Has(label.get(), ATK_STATE_DEFUNCT));
  EXPECT_EQ(atk_object_get_n_accessible_children(label.get()), 0);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"quit:pressed=1", "-hello", "hello:defunct=1", "-quit", "+quit",
                                              "quit:focused=0", ":focused=1"}));

  // Unchanged, nothing is said.
  gHeard.clear();
  atk_tree::Update(t);
  EXPECT_TRUE(gHeard.empty());
}

TEST_F(AtkTreeTest, AMessageBoxIsAnAlertThatHoldsTheFocus) {
  atk_tree::Update(Page());
  Ref screen = Child(Frame(), 0);
  Ref button = Child(screen.get(), 1);
  Listen(button.get());
  atk_tree::ShowAlert("GUI  DEMO", "done");
  atk_tree::ShowAlert("GUI  DEMO", "again");  // one box at a time: the program waits in the first
  ASSERT_EQ(atk_object_get_n_accessible_children(atk_get_root()), 2);
  Ref alert = Child(atk_get_root(), 1);
  ASSERT_EQ(atk_object_get_role(alert.get()), ATK_ROLE_ALERT);
  Ref ok = Child(alert.get(), 1);
  EXPECT_STREQ(atk_object_get_name(Child(alert.get(), 0).get()), "done");
  EXPECT_TRUE(Has(ok.get(), ATK_STATE_FOCUSED));
  EXPECT_FALSE(atk_action_do_action(ATK_ACTION(button.get()), 0));  // the program waits for the box
  atk_tree::HideAlert();
  EXPECT_TRUE(Has(ok.get(), ATK_STATE_DEFUNCT));
  EXPECT_EQ(atk_object_get_n_accessible_children(atk_get_root()), 1);
  EXPECT_TRUE(atk_action_do_action(ATK_ACTION(button.get()), 0));
  EXPECT_EQ(gHeard, (std::vector<std::string>{"exit:focused=0", "exit:focused=1"}));
}

TEST_F(AtkTreeTest, TheFrameFollowsTheWindow) {
  Listen(Frame());
  gWindow.Title = "other";
  gWindow.Active = false;
  atk_tree::WindowChanged();
  EXPECT_STREQ(atk_object_get_name(atk_get_root()), "other");
  EXPECT_STREQ(atk_object_get_name(Frame()), "other");
  EXPECT_EQ(gHeard, (std::vector<std::string>{"other:active=0"}));
}

}  // namespace
