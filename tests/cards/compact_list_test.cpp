// The one-pointer list of a model's users, its blocks from the heap or from
// an import's store.
#include <gtest/gtest.h>

#include <vector>

#include "cards/card_store.h"
#include "cards/compact_list.h"

namespace zav {
namespace {

// Past several growths, with blocks from the store, the heap, and the store
// after the heap: the items keep their order, a copy is a list of its own,
// and no list frees a block of the store (the sanitizers see a wrong free).
TEST(CompactList, GrowsFromEitherSourceAndFreesOnlyHeapBlocks) {
  CardStore store;
  int items[40];
  std::vector<int*> expected;
  CompactList<int*> fromStore;
  CompactList<int*> fromHeap;
  CompactList<int*> mixed;
  for (int& item : items) {
    fromStore.push_back(&item, &store);
    fromHeap.push_back(&item);
    if (expected.size() < 5) {
      mixed.push_back(&item);
    } else {
      mixed.push_back(&item, &store);
    }
    expected.push_back(&item);
  }
  for (const CompactList<int*>* list : {&fromStore, &fromHeap, &mixed}) {
    EXPECT_EQ(std::vector<int*>(list->begin(), list->end()), expected);
  }
  CompactList<int*> copy = fromStore;
  fromStore = CompactList<int*>();
  EXPECT_TRUE(fromStore.empty());
  EXPECT_EQ(std::vector<int*>(copy.begin(), copy.end()), expected);
  CardStore* none = nullptr;
  CompactList<int*> storeless;
  storeless.push_back(&items[0], none);
  EXPECT_EQ(storeless.front(), &items[0]);
}

}  // namespace
}  // namespace zav
