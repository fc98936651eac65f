/*
 * The order in which Play All chooses objects, without any platform code:
 * sequential from the top, or random from the worker's own generator. The
 * program seeds the generator once per start, so two starts play a random
 * list in different orders; a generator left unseeded starts at 1.
 */
#ifndef WENDLE_PLAY_ORDER_H
#define WENDLE_PLAY_ORDER_H

#include <stdint.h>

// state = state * 214013 + 2531011 (mod 2^32); a draw is bits 16..30.
class PlayOrderGenerator {
 public:
  PlayOrderGenerator() = default;
  explicit PlayOrderGenerator(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 214013u + 2531011u;
    return (state_ >> 16) & 0x7FFF;
  }

 private:
  uint32_t state_ = 1;
};

// What the chooser needs to know of the list.
class PlayOrderList {
 public:
  virtual ~PlayOrderList() = default;
  virtual int Count() const = 0;
  virtual bool IsPlayed(int index) const = 0;
};

// The next index of a list of list.Count() items (-1 for an empty list).
// sequential: the one after *lastChosen (-1: the first). Otherwise random;
// with exclusive, an item already played in this pass is drawn again
// unless objectsLeft is 0 or the list has one item. *lastChosen becomes
// the result, or -1 after the last item.
int ChooseNextOrderIndex(const PlayOrderList& list, bool sequential, bool exclusive, int32_t objectsLeft,
                         int32_t* lastChosen, PlayOrderGenerator* generator);

#endif
