// Test entry for the tests that need no toolkit.
#include <clocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  setlocale(LC_ALL, "C.UTF-8");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
