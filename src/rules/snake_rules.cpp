#include "rules/snake_rules.h"

#include <algorithm>
#include <cmath>

#include "rules/recorded_input.h"
#include "state/play_state.h"

namespace {

constexpr double trailStepInterval = 0.045;
constexpr float reversalPulseStart = 0.1f;
constexpr double reversalPulseRate = 100.0;
constexpr double headSpeedFactor = 50.0;
constexpr double edgeMargin = 10.0;
// Where a segment added by eating waits until trail steps pull it in.
constexpr float waitingPlace = -1000.0f;

bool waitingOffBoard(const Segment& s) { return s.x == waitingPlace && s.y == waitingPlace; }

void reverseAndFreeze(PlayState& play) {
    reverseSnake(play.snake, play.heading);
    play.reversalPulse = reversalPulseStart;
    noteEvent(play.events, GameEventKind::reversal);
}

// One arrow key of the poll: the key opposite to the motion reverses the
// snake, any other sets the heading. Angle and flags follow the key either way.
void applyArrowKey(PlayState& play, bool reverses, Vec3f newHeading, int angle, bool vertical) {
    if (reverses)
        reverseAndFreeze(play);
    else
        play.heading = newHeading;
    play.headAngle = angle;
    play.movingVertically = vertical;
    play.movingHorizontally = !vertical;
}

void pollArrowKeys(PlayState& play) {
    // Read through the game input, so a replay takes the same four answers.
    const std::uint8_t arrows = readArrowKeys(play.input);
    // Each test reads the heading as the keys before it left it, so Up and
    // Down together can reverse twice.
    if (arrows & arrowUp) applyArrowKey(play, play.heading.y == -2.0f, {0.0f, 2.0f, 0.0f}, 90, true);
    if (arrows & arrowDown) applyArrowKey(play, play.heading.y == 2.0f, {0.0f, -2.0f, 0.0f}, 270, true);
    if (arrows & arrowRight) applyArrowKey(play, play.heading.x == -2.0f, {2.0f, 0.0f, 0.0f}, 0, false);
    if (arrows & arrowLeft) applyArrowKey(play, play.heading.x == 2.0f, {-2.0f, 0.0f, 0.0f}, 180, false);
}

}  // namespace

void resetSnake(Snake& snake) {
    snake.assign(2, Segment{});
    for (Segment& s : snake) {
        s.x = 256.0f;
        s.y = 128.0f;
    }
}

void appendSegment(Snake& snake) {
    // Off the board until trail steps pull it into line.
    Segment s;
    s.x = waitingPlace;
    s.y = waitingPlace;
    snake.push_back(s);
}

void reverseSnake(Snake& snake, Vec3f& heading) {
    if (snake.empty()) return;
    // Only the part on the board turns round; segments still waiting after a
    // meal stay at the tail end and join as before. They always form the
    // tail end, since trail steps pull them in from the front.
    const auto onBoardEnd = std::find_if(snake.begin() + 1, snake.end(), waitingOffBoard);
    const Segment& tail = *(onBoardEnd - 1);
    heading.x = -tail.dx;
    heading.y = -tail.dy;
    // In place: the game update must not allocate unless the snake grows.
    std::reverse(snake.begin(), onBoardEnd);
}

double reversalFreezeSeconds() { return (reversalPulseEnd - reversalPulseStart) / reversalPulseRate; }

void advanceReversalPulse(PlayState& play) {
    if (play.reversalPulse > 0.0f) {
        play.reversalPulse = static_cast<float>(play.reversalPulse + reversalPulseRate * play.frameTime);
        if (play.reversalPulse > reversalPulseEnd) play.reversalPulse = 0.0f;
    }
}

void runTurnCheck(PlayState& play) {
    Segment& head = play.snake[0];
    if (std::floor(head.x) == std::floor(play.lastPollPosition.x) &&
        std::floor(head.y) == std::floor(play.lastPollPosition.y))
        return;
    play.lastPollPosition = {head.x, head.y, head.z};
    pollArrowKeys(play);
    // On the game's time, so a capped frame holds the trail back as much as the head.
    if (play.playTime > play.nextTrailStep) {
        play.nextTrailStep = play.playTime + trailStepInterval;
        stepTrail(play.snake);
    }
}

void stepTrail(Snake& snake) {
    // From the tail end backwards, so every element is read before it is
    // overwritten and no copy of the array is needed.
    if (snake.empty()) return;
    for (std::size_t i = snake.size() - 1; i >= 1; --i) snake[i] = snake[i - 1];
}

void taperSnake(Snake& snake) {
    const double upper = upperIndex(snake);
    for (std::size_t i = 1; i < snake.size(); ++i)
        snake[i].scale = static_cast<float>(1.0 - (static_cast<double>(i) / upper) * 0.5);
}

void moveHead(PlayState& play) {
    Segment& head = play.snake[0];
    head.x = static_cast<float>(head.x + play.heading.x * play.frameTime * headSpeedFactor);
    head.y = static_cast<float>(head.y + play.heading.y * play.frameTime * headSpeedFactor);
    head.dx = play.heading.x;
    head.dy = play.heading.y;
    head.dz = play.heading.z;
}

bool headHitsEdge(const PlayState& play) {
    const float y = play.snake[0].y;
    if (y < edgeMargin + play.segmentRadius) return true;
    return y > static_cast<double>(play.boardHeight) - play.segmentRadius - edgeMargin;
}

void wrapHead(PlayState& play) {
    Segment& head = play.snake[0];
    const float width = static_cast<float>(play.boardWidth);
    if (head.x + 2.0f * play.segmentRadius <= 0.0f) head.x += width;
    if (head.x - 2.0f * play.segmentRadius >= width) head.x -= width;
}

bool headHitsBody(const PlayState& play) {
    const Segment& head = play.snake[0];
    for (std::size_t i = 2; i < play.snake.size(); ++i) {
        const Segment& s = play.snake[i];
        const float d = static_cast<float>(std::pow(head.y - s.y, 2.0) + std::pow(head.x - s.x, 2.0));
        if (d < play.segmentRadius) return true;
    }
    return false;
}
