// Several threads setting, reading and expanding at once; run it under the sanitizer build.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "engine/variable_access.h"
#include "engine/variable_list_text.h"

namespace korvane {
namespace {

TEST(VariableStoreThreads, WritersAndExpandersShareTheStore) {
  TVariableManager store;
  store.Set("GREETING", "Hello $NAME$");
  store.Set("NAME", "World");
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  std::atomic<int> wrongResults{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string own = "T" + std::to_string(t) + "_";
      for (int i = 0; i < kRounds; ++i) {
        store.Set(own + std::to_string(i), std::to_string(i));  // new names: the table grows
        store.Set("VRAX_thProgress", std::to_string(i));
        if (store.Get(own + std::to_string(i)) != std::to_string(i)) ++wrongResults;
        const std::string text = store.Expand("$GREETING$ at $VRAX_thProgress$");
        if (!text.starts_with("Hello World at ")) ++wrongResults;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrongResults.load(), 0);
  EXPECT_EQ(store.Count(), 2u + 1u + kThreads * kRounds);
}

TEST(VariableStoreThreads, TheLockIsReEntrantAndHoldsOffOtherWriters) {
  TVariableManager store;
  CommandLineProtection protection(true, LineList{"SHARED", "command line"});
  store.Set("SHARED", "command line");
  auto hold = store.Hold();
  // The holder may go on using the store: every operation takes the same lock again.
  store.Set("A", "1");
  SetVariable(store, protection, "SHARED", "ignored", "Set Variable Action");
  EXPECT_EQ(store.Expand("$A$"), "1");
  EXPECT_EQ(SaveAll(store).empty(), false);
  std::atomic<bool> written{false};
  std::thread other([&] {
    store.Set("B", "2");
    written = true;
  });
  // The other thread cannot finish its write while the lock is held; it will once released.
  std::this_thread::yield();
  EXPECT_FALSE(store.Exists("B"));
  hold.unlock();
  other.join();
  EXPECT_TRUE(written.load());
  EXPECT_EQ(store.Get("B"), "2");
  EXPECT_EQ(store.Get("SHARED"), "command line");
}

}  // namespace
}  // namespace korvane
