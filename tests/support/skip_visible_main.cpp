// The main of a Windows test program, which ctest runs as one case: a test that skipped makes
// the whole program report itself skipped (77, the tests' skip code) rather than passed. A
// failure still wins.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (RUN_ALL_TESTS() != 0) return 1;
  return testing::UnitTest::GetInstance()->skipped_test_count() > 0 ? 77 : 0;
}
