#include "game/WorldApp.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <typeinfo>

#include "app/Application.h"
#include "app/Platform.h"
#include "frontend/HighScoreTable.h"
#include "frontend/NameBox.h"
#include "frontend/ReplayShelf.h"
#include "game/Background.h"
#include "game/Brick.h"
#include "game/Climb.h"
#include "game/InfoBox.h"
#include "game/Player.h"
#include "game/Random.h"
#include "game/Tow.h"
#include "game/Witch.h"
#include "media/BitmapFont.h"
#include "media/Music.h"
#include "media/Sound.h"
#include "media/TextureManager.h"
#include "scene/Camera.h"
#include "scene/Cursor.h"
#include "scene/Geometry.h"
#include "scene/MenuButton.h"
#include "scene/ObjectList.h"
#include "target/Target.h"

namespace {
using namespace climb;

// A jump starts with the figure this much above its resting place on the floor.
const float kJumpLift = 5.0f;

// A new brick enters at kEntryY, at an x drawn from kSpawnLeft .. kSpawnLeft +
// kSpawnRange - 1; one closer than kSpawnGap to the brick before it moves
// kSpawnShift toward the other side of kSpawnMiddle, so no two stand stacked.
const int kSpawnLeft = 150, kSpawnRange = 700;
const float kSpawnGap = 150.0f, kSpawnShift = 350.0f, kSpawnMiddle = 500.0f, kEntryY = -50.0f;

// The witch sets off from the left, high over the goal, and the level ends
// once she has flown past kWitchGoneX.
const float kWitchStartX = 0.0f, kWitchStartY = 160.0f, kWitchGoneX = 800.0f;

cSound* makeSound(const char* path, int volume, int channel) {
    std::unique_ptr<cSound> sound(new cSound());
    sound->load(path);
    sound->setVolume(volume);
    sound->setChannel(channel);
    return sound.release();
}

void place(cObject* object, float x, float y, float z) {
    object->x = x;
    object->y = y;
    object->z = z;
}
}  // namespace

cWorldApp::cWorldApp(bool watched)
    : pushHold(false), jumpRequested(false), phase(Climbing), paused(true), score(0), fallSpeed(0.0f),
      mouseX(0), mouseY(0), scores(nullptr), witch(nullptr), camera(new cCamera()),
      objects(new cObjectList()), player(nullptr), floor(nullptr), nameBox(nullptr), infoBox(nullptr),
      tower(nullptr), aimMarker(nullptr), mousePointer(nullptr), font(nullptr), level(1), music(nullptr),
      jumpSound(nullptr), fallSound(nullptr), goalSound(nullptr), menuButton(nullptr), againButton(nullptr),
      finishedScore(0), watched(watched) {
    camera->setDirection(0, 0, 1);
    camera->setUp(0, 1, 0);
    if (!watched) std::printf("Zarvo started ...\n");
}

cWorldApp::~cWorldApp() {
    for (int i = objects->count - 1; i >= 0; --i) delete objects->get(i);
    delete objects;
    delete camera;
    delete aimMarker;
    delete mousePointer;
    delete font;
    delete menuButton;
    delete againButton;
    cSound* sounds[3] = {jumpSound, fallSound, goalSound};
    for (cSound* sound : sounds) {
        if (!sound) continue;
        sound->release();
        delete sound;
    }
    if (music) {
        music->release();
        delete music;
    }
}

// ---------------------------------------------------------------- load

int cWorldApp::load() {
    level = 1;
    menuButton = cMenuButton::make(kBoxX + cInfoBox::kMenuButtonX, kBoxY + cInfoBox::kButtonsY, 5.0f, 150.0f, 64.0f);
    againButton = cMenuButton::make(kBoxX + cInfoBox::kAgainButtonX, kBoxY + cInfoBox::kButtonsY, 5.0f, 160.0f, 70.0f);
    mousePointer = new cCursor(0);
    place(mousePointer, 0.0f, 0.0f, 2.0f);

    cBackground* background = new cBackground();
    place(background, 512.0f, 520.0f, 30.0f);
    background->speed = 0.0f;
    objects->add(background);

    tower = new cTow();
    place(tower, 80.0f, 150.0f, 5.0f);
    tower->level = level;
    objects->add(tower);

    player = new cPlayer();
    place(player, 450.0f, 350.0f, 8.0f);
    player->radius = kPlayerRadius;
    objects->add(player);

    aimMarker = new cCursor(1);
    place(aimMarker, 0.0f, 200.0f, 15.0f);

    setupRound();
    preloadOverlays();
    if (!infoBox) showBox(cInfoBox::GameInfo);

    font = new cBitmapFont();
    font->load(kFontPicture, kFontGlyphs);
    font->setScale(0.75);
    font->setAlign(0, 0);

    music = new cMusic();
    music->load("data\\sound\\game.ogg");
    jumpSound = makeSound("data\\sound\\jump.wav", 50, 0);
    fallSound = makeSound("data\\sound\\fall.wav", 50, 1);
    goalSound = makeSound("data\\sound\\chichicheche.wav", 80, 2);

    scores = application() ? application()->highScores : nullptr;
    return 0;
}

void cWorldApp::preloadOverlays() {
    static const char* const pictures[] = {
        "data\\graphics\\over.png",     "data\\graphics\\gameinfo.png", "data\\graphics\\gameagain.png",
        "data\\graphics\\killbox.png",  "data\\graphics\\menuon.png",   "data\\graphics\\znovuon.png",
    };
    for (const char* picture : pictures) cTextureManager::getSingleton().getTexture(picture);
}

int cWorldApp::activate(bool on) {
    if (on) {
        music->setVolume(50);
        music->play();
    } else {
        music->fadeOut(50);
    }
    return 0;
}

// ---------------------------------------------------------------- rounds

// A new brick of the type the tower asks for next, in the scene at height y
// and a random x (drawn after its ornament), moved aside when it lies too
// close to the reference brick.
cBrick* cWorldApp::addBrick(float y, const cObject* reference) {
    cBrick* brick = new cBrick(tower->nextBrickType());
    place(brick, static_cast<float>(cRandom::next() % kSpawnRange + kSpawnLeft), y, 10.0f);
    if (reference && horizontalDistance(*brick, *reference) < kSpawnGap)
        brick->x = brick->x < kSpawnMiddle ? brick->x + kSpawnShift : brick->x - kSpawnShift;
    brick->kind = OrdinaryBrick;
    objects->add(brick);
    return brick;
}

// Lays out a round from the calendar second: a new climb's or the next level's.
void cWorldApp::setupRound() {
    const std::time_t second = platform().now();
    cRandom::seed(static_cast<unsigned>(second));
    // A new climb carries nothing of the last one, so that it plays the same
    // from a fresh game (as its replay is played).
    if (!recorder.climbing()) pushHold = jumpRequested = player->onGround = false;
    recorder.roundLaid(second);
    fallSpeed = 0.0f;
    player->targetX = 500;
    player->x = 500.0f;
    player->y = 600.0f;
    player->speed = 0.0f;

    floor = new cBrick(cBrick::Floor);
    place(floor, 510.0f, 600.0f, 10.0f);
    floor->kind = FloorBrick;
    objects->add(floor);
    addBrick(150.0f, addBrick(320.0f, nullptr));
}

// Takes an object out of the scene and frees it; no reference of the state keeps pointing at it.
void cWorldApp::discard(cObject* object) {
    objects->remove(object);
    if (object == floor) floor = nullptr;
    if (object == infoBox) infoBox = nullptr;
    if (object == witch) witch = nullptr;
    if (object == nameBox) nameBox = nullptr;
    delete object;
}

void cWorldApp::removeBricks() {
    for (int i = objects->count - 1; i >= 0; --i) {
        cObject* object = objects->get(i);
        if (dynamic_cast<cBrick*>(object)) discard(object);
    }
}

void cWorldApp::clearRound() {
    paused = true;
    removeBricks();
    if (witch) discard(witch);
    if (infoBox) discard(infoBox);
}

cBrick* cWorldApp::topBrick() const {
    for (int i = objects->count - 1; i >= 0; --i) {
        if (cBrick* brick = dynamic_cast<cBrick*>(objects->get(i))) return brick;
    }
    return nullptr;
}

void cWorldApp::spawnBrick() {
    cBrick* newest = topBrick();
    if (!newest || newest->y <= kSpawnLine) return;
    cBrick* brick = addBrick(kEntryY, newest);
    if (tower->nextBrickType() == cBrick::Goal) {
        phase = GoalPlaced;
        brick->kind = GoalBrick;
    }
}

void cWorldApp::showBox(int type) {
    infoBox = new cInfoBox(type);
    place(infoBox, kBoxX, kBoxY, kBoxZ);
    objects->add(infoBox);
}

void cWorldApp::dismissBox() {
    if (infoBox) discard(infoBox);
}

cApplication* cWorldApp::application() const { return watched ? nullptr : g_app; }

cClimbView cWorldApp::view() const {
    return cClimbView{player, objects, phase, level, score, paused, fallSpeed, levelFactor(), jumpRequested,
                      mouseX, mouseY, againButton->x, againButton->y, infoBox, nameBox, witch, tower};
}

// ---------------------------------------------------------------- frame pass

float cWorldApp::levelFactor() const { return 0.1f * static_cast<float>(level) + 1.1f; }

float cWorldApp::playedFps(float fps) { return std::max(fps, 1000.0f / static_cast<float>(kLongestFrameMs)); }

int cWorldApp::passesFor(float fps) {
    if (!(fps > 0.0f)) return 1;
    // The frame's length in whole milliseconds, as the game's clock measured it.
    const double frameMs = std::floor(1000.0 / playedFps(fps) + 0.5);
    return std::max(1, static_cast<int>(std::ceil(frameMs / kLongestPassMs)));
}

int cWorldApp::update(float fps) {
    // The pointer cannot move between the passes of one frame: it is read once.
    readMouse();
    recorder.frame(fps, mouseX);
    const int passes = passesFor(fps);
    for (int i = 0; i < passes; ++i) playPass(playedFps(fps) * static_cast<float>(passes));
    return 0;
}

void cWorldApp::playPass(float fps) {
    const float f = levelFactor();
    recorder.passRan();
    if (phase == RetryChoice) mousePointer->update(fps);
    endLevelWhenWitchGone();
    endClimbWhenFallen();
    steerPlayer();
    updateObjects(fps, f);
    applyGravity(fps, f);
    if (resolveObjects()) return;
    advanceClimb(fps);
}

void cWorldApp::readMouse() { platform().getMouseState(&mouseX, &mouseY); }

void cWorldApp::endLevelWhenWitchGone() {
    if (phase != GoalPlaced || !witch || witch->x <= kWitchGoneX) return;
    fallSound->play();
    removeBricks();
    phase = LevelDone;
}

void cWorldApp::endClimbWhenFallen() {
    if (player->y <= kBottom || phase == LevelDone) return;
    fallSound->play();
    clearRound();
    phase = Fallen;
}

void cWorldApp::steerPlayer() {
    if (paused) {
        if (!pushHold) player->targetX = static_cast<int>(player->x);
        return;
    }
    float aim = static_cast<float>(mouseX);
    if (aim < kAimMin) aim = kAimMin;
    if (aim > kAimMax) aim = kAimMax;
    aimMarker->x = aim;
    if (!pushHold) player->targetX = static_cast<int>(aimMarker->x);
    pushHold = false;
    player->moveFactor = 1.0f;
}

void cWorldApp::updateObjects(float fps, float f) {
    for (int i = objects->count - 1; i >= 0; --i) {
        cObject* object = objects->get(i);
        if (paused) {
            object->speed = 0.0f;
        } else {
            object->speed = -fallSpeed * f;
            object->scrollHeld = player->scrollHeld;
        }
        object->update(fps);
    }
}

void cWorldApp::applyGravity(float fps, float f) {
    if (!paused && fallSpeed < kMaxFall) fallSpeed = fallSpeed + f * kGravity / fps;
}

// Objects below the screen leave the scene (or end the round); the others meet the player.
// A bounce takes two objects out, so an index may lie past the end: it is skipped.
bool cWorldApp::resolveObjects() {
    for (int i = objects->count - 1; i >= 0; --i) {
        if (i >= objects->count) continue;
        cObject* object = objects->get(i);
        if (object->y > kBottom) {
            if (object->kind != NoPlatform) discard(object);
            else if (finishFall()) return true;
        } else if (object->kind != NoPlatform) {
            checkContact(object);
        }
    }
    return false;
}

void cWorldApp::advanceClimb(float fps) {
    if ((phase != Climbing && phase != GoalPlaced) || paused) return;
    if (phase == Climbing) spawnBrick();
    aimMarker->update(fps);
}

// ---------------------------------------------------------------- round end and levels

// The round moves on after standing still; a new round's climb begins.
void cWorldApp::run() {
    paused = false;
    recorder.begin();
}

bool cWorldApp::finishFall() {
    switch (phase) {
    case LevelDone: finishLevel(); return true;
    case Fallen: finishRound(); return true;
    case NameEntry: return true;
    default: return false;
    }
}

void cWorldApp::finishLevel() {
    if (witch) discard(witch);
    tower->setMarkerStage(1);
    level = level + 1;
    if (level <= kLastLevel) {
        tower->level = level;
        setupRound();
        phase = Climbing;
        return;
    }
    recorder.end(score, kLastLevel);
    clearRound();
    tower->level = 1;
    setupRound();
    phase = Finished;
    showBox(cInfoBox::KillBox);
    infoBox->setNumber(score);
    finishedScore = score;
    score = 0;
    level = 1;
}

void cWorldApp::finishRound() {
    recorder.end(score, level);
    tower->setMarkerStage(1);
    tower->level = 1;
    setupRound();
    if (entersTable(score)) {
        phase = NameEntry;
        openNameBox(score);
    } else {
        phase = Climbing;
        if (!infoBox) {
            showBox(cInfoBox::GameOver);
            infoBox->setNumber(score);
        }
    }
    score = 0;
    level = 1;
}

bool cWorldApp::entersTable(unsigned int points) const {
    return scores && points > scores->entries[cHighScoreTable::size - 1].score;
}

void cWorldApp::openNameBox(unsigned int points) {
    if (nameBox) return;
    nameBox = new cNameBox();
    place(nameBox, kBoxX, kBoxY, kBoxZ);
    nameBox->entry.score = points;
    objects->add(nameBox);
    target::nameEntry(true);
}

// A game finished at the last level files its score as a fall does, once the
// kill box is taken away: true when the new round now waits behind the name box.
bool cWorldApp::offerFinishedScore() {
    if (phase != Finished) return false;
    phase = Climbing;
    if (!entersTable(finishedScore)) return false;
    phase = NameEntry;
    openNameBox(finishedScore);
    return true;
}

// ---------------------------------------------------------------- contact rules

bool cWorldApp::touches(const cPlayer& who, const cObject& brick) const {
    const float ax = std::fabs(who.x - brick.x);
    const float ay = std::fabs(who.y + kContactDrop - brick.y);
    const float w = brick.hitWidth, h = brick.hitHeight, r = who.radius;
    if (ax > w + r) return false;
    if (ay > h + r) return false;
    if (ax <= w) return true;
    if (ay <= h) return true;
    return (ax - w) * (ax - w) + (ay - h) * (ay - h) <= r * r;
}

void cWorldApp::checkContact(cObject* brick) {
    switch (brick->kind) {
    case OrdinaryBrick: landOnBrick(brick); break;
    case FloorBrick: landOnFloor(*brick); break;
    case GoalBrick: landOnGoal(*brick); break;
    default: break;
    }
}

void cWorldApp::pushAside(const cObject& brick) {
    const float w = brick.hitWidth, r = player->radius;
    if (brick.x < player->x) {
        player->x = brick.x + w + r;
        player->targetX = static_cast<int>(player->x);
        if (player->x > static_cast<float>(mouseX)) pushHold = true;
    } else {
        player->x = brick.x - w - r;
        player->targetX = static_cast<int>(player->x);
        if (player->x < static_cast<float>(mouseX)) pushHold = true;
    }
}

// The side and the underside of a brick or the goal: a touch near an end
// pushes the figure aside, a touch from below stops its rise. True when the
// figure comes down on top.
bool cWorldApp::meetsFromAbove(const cObject& brick) {
    if (!touches(*player, brick)) return false;
    if (std::fabs(player->x - brick.x) > brick.hitWidth - kSideBand) {
        pushAside(brick);
        return false;
    }
    fallSpeed = 0.0f;
    if (brick.y < player->y + kLandingLine) {
        player->y = brick.y - kUnderBump + brick.hitHeight + player->radius;
        return false;
    }
    return true;
}

// Puts the figure's contact circle on the brick's top.
void cWorldApp::restOn(const cObject& brick) { player->y = brick.y - kContactDrop - brick.hitHeight - player->radius; }

void cWorldApp::landOnBrick(cObject* brick) {
    if (meetsFromAbove(*brick)) bounceFrom(brick);
}

void cWorldApp::bounceFrom(cObject* brick) {
    restOn(*brick);
    score += static_cast<unsigned int>(tower->nextBrickType() * level);
    discard(brick);
    if (floor) discard(floor);
    fallSpeed = kBounceSpeed;
    jumpSound->play();
}

void cWorldApp::landOnFloor(const cObject& brick) {
    if (!touches(*player, brick)) return;
    if (jumpRequested) {
        fallSpeed = kJumpSpeed;
        player->onGround = false;
        jumpSound->play();
        jumpRequested = false;
        player->y = brick.y - kContactDrop - (brick.hitHeight + kJumpLift) - player->radius;
        return;
    }
    player->onGround = true;
    fallSpeed = 0.0f;
    restOn(brick);
}

void cWorldApp::landOnGoal(const cObject& brick) {
    if (!meetsFromAbove(brick)) return;
    restOn(brick);
    player->onGround = true;
    if (!witch) callWitch();
}

void cWorldApp::callWitch() {
    goalSound->play();
    witch = new cWitch();
    place(witch, kWitchStartX, kWitchStartY, 10.0f);
    witch->kind = NoPlatform;
    objects->add(witch);
}

// ---------------------------------------------------------------- input

void cWorldApp::keyDown(int sym) {
    recorder.event(cReplayEvent{cReplayEvent::Key, sym, 0, 0});
    if (phase == NameEntry) {
        nameEntryKey(sym);
    } else if (sym == SDLK_ESCAPE) {
        offerScoreOrLeaveRound();
    } else if (sym == SDLK_p && (phase == Climbing || phase == GoalPlaced || waitsBehindBox())) {
        togglePause();
    }
}

// The round stands still behind a box that P or a click takes away: the
// first round's information box, the Pause box (also when the witch ended the
// level behind it), the game-over box and the kill box.
bool cWorldApp::waitsBehindBox() const {
    return paused && (phase == Climbing || phase == GoalPlaced || phase == LevelDone || phase == Finished);
}

void cWorldApp::nameEntryKey(int sym) {
    if (!nameBox) return;
    if (sym >= SDLK_a && sym <= SDLK_z) nameBox->addChar(static_cast<char>(sym - SDLK_a + 'A'));
    else if (sym == SDLK_BACKSPACE) nameBox->removeChar();
    else if (sym == SDLK_RETURN && nameBox->length >= 1) fileName();
}

void cWorldApp::fileName() {
    if (scores && scores->fileScore(nameBox->entry)) {
        const cReplay* climb = recorder.ended();
        if (climb && climb->score == nameBox->entry.score) cReplayShelf(*scores).keep(nameBox->entry, *climb);
        target::scoresSaved();
    }
    discard(nameBox);
    target::nameEntry(false);
    phase = RetryChoice;
    if (!infoBox) showBox(cInfoBox::GameAgain);
}

// Escape. A finished game's score is offered to the table however its kill
// box is closed; with nothing to offer, the round is abandoned for the menu.
void cWorldApp::offerScoreOrLeaveRound() {
    if (phase == Finished) {
        dismissBox();
        if (offerFinishedScore()) return;
    }
    abandonRound();
}

void cWorldApp::abandonRound() {
    recorder.drop();
    clearRound();
    score = 0;
    level = 1;
    tower->setMarkerStage(1);
    tower->level = 1;
    setupRound();
    phase = Climbing;
    if (application()) application()->requestedState = kMenuState;
    run();
}

// A player who leaves the window mid-climb finds the round paused, as P
// pauses it; boxes and the screens around the game wait anyway.
void cWorldApp::focusLost() {
    recorder.event(cReplayEvent{cReplayEvent::FocusLost, 0, 0, 0});
    if ((phase == Climbing || phase == GoalPlaced) && !paused && !infoBox) togglePause();
}

void cWorldApp::togglePause() {
    if (paused) {
        resumeFromBox();
    } else {
        paused = true;
        if (!infoBox) showBox(cInfoBox::Pause);
    }
}

void cWorldApp::resumeFromBox() {
    dismissBox();
    if (!offerFinishedScore()) run();
}

void cWorldApp::mouseDown(int button, int x, int y) {
    recorder.event(cReplayEvent{cReplayEvent::Click, button, x, y});
    if (button != 1) return;
    mouseX = x;
    mouseY = y;
    if (waitsBehindBox()) {
        resumeFromBox();
    } else if (phase == Climbing) {
        if (player->onGround) jumpRequested = true;
    } else if (phase == RetryChoice) {
        retryClick();
    }
}

void cWorldApp::retryClick() {
    if (hitTest(*menuButton, mouseX, mouseY)) {
        dismissBox();
        phase = Climbing;
        if (application()) application()->requestedState = kMenuState;
        run();
    } else if (hitTest(*againButton, mouseX, mouseY)) {
        dismissBox();
        phase = Climbing;
        run();
    }
}

// ---------------------------------------------------------------- drawing

int cWorldApp::hoverValue() const {
    if (hitTest(*menuButton, mouseX, mouseY)) return 1;
    if (hitTest(*againButton, mouseX, mouseY)) return 2;
    return 0;
}

int cWorldApp::draw() {
    camera->apply();
    for (int i = 0; i < objects->count; ++i) {
        glPushMatrix();
        objects->get(i)->draw();
        glPopMatrix();
    }
    if (phase == Climbing || phase == GoalPlaced || phase == Finished) {  // a round on screen, boxed or not
        glPushMatrix();
        aimMarker->draw();
        glPopMatrix();
    }
    if (phase == RetryChoice) {
        if (infoBox) infoBox->setHover(hoverValue());
        mousePointer->x = static_cast<float>(mouseX);
        mousePointer->y = static_cast<float>(mouseY);
        glPushMatrix();
        mousePointer->draw();
        glPopMatrix();
    }
    char status[64];
    std::snprintf(status, sizeof status, "Level %i Score %u", level, score);
    font->drawText(status, 512.0f, 30.0f, 10.0f);
    return 0;
}
