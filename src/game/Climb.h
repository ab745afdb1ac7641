// The numbers the climb is made of: the figure's speeds, its contact circle,
// the aim, where the boxes stand and how long a pass and a frame of the climb may be.
// The play state, the figure and the autopilot all read them from here.
#pragma once

namespace climb {

// Vertical speeds in units per second, positive downward; all but the walk
// are scaled by the level's factor (cWorldApp::levelFactor).
constexpr float kGravity = 700.0f;       // added to the fall speed every second
constexpr float kMaxFall = 500.0f;       // gravity stops adding once the fall is this fast
constexpr float kBounceSpeed = -650.0f;  // the fall speed after landing on a brick
constexpr float kJumpSpeed = -700.0f;    // the fall speed after a jump from the floor

// How high a launch at `speed` lifts the figure: speed² / (2 x gravity), the
// same at every level since both carry the level's factor.
constexpr float riseFrom(float speed) { return speed * speed / (2.0f * kGravity); }

// The figure walks toward its target at kWalkRate times the remaining
// distance per second, counting at most kWalkReach units of it.
constexpr float kWalkRate = 8.0f;
constexpr int kWalkReach = 500;
// The aim marker, and with it the figure's target, stays within these.
constexpr float kAimMin = 50.0f;
constexpr float kAimMax = 960.0f;

// The figure's contact circle: its centre kContactDrop below the figure's
// position, kPlayerRadius wide.
constexpr float kPlayerRadius = 10.0f;
constexpr float kContactDrop = 22.0f;
// A touch this close to a brick's end (of its half width) pushes the figure aside.
constexpr float kSideBand = 20.0f;
// A brick whose centre lies less than this below the figure's position is met
// from below: a head bump, which leaves the circle 1 unit under the box.
constexpr float kLandingLine = 37.0f;
constexpr float kUnderBump = kContactDrop - 1.0f;

// Objects below this y have left the screen; a new brick enters once the
// newest one has come down below kSpawnLine.
constexpr float kBottom = 800.0f;
constexpr float kSpawnLine = 120.0f;
constexpr int kLastLevel = 15;

// Goes up by one whenever a rule of the climb changes what a recorded climb
// reaches: a replay of other rules cannot be played again to its score.
constexpr int kRulesVersion = 1;

// Every box over the play field (information, pause, game over, retry, kill
// box, name entry) stands here.
constexpr float kBoxX = 512.0f;
constexpr float kBoxY = 250.0f;
constexpr float kBoxZ = 8.0f;

// The longest stretch of time one pass of the climb may cover. In a longer
// step a falling figure can cross a brick's landing band without ever being
// inside it, and landings turn into head bumps: frames longer than this are
// played as several equal passes. Common display rates (60, 50, 48 Hz) stay
// on a single pass.
constexpr int kLongestPassMs = 25;
// The longest stretch of time one frame's play may cover: a longer frame (a
// stalled machine, a hidden browser tab) is played as if it lasted this long,
// so the climb slows down instead of leaping on while nobody sees it.
constexpr int kLongestFrameMs = 100;

}  // namespace climb
