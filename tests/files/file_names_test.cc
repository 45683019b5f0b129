#include "files/file_names.h"

#include <gtest/gtest.h>

TEST(FileNames, OnlyTheLastExtensionGoes) {
  for (auto [name, result] : {std::pair{"a.b.c", "a.b"},
                              {"prog.", "prog"},
                              {"prog", "prog"},
                              {"dir.x/prog", "dir.x/prog"},
                              {"dir.x\\prog", "dir.x\\prog"},
                              {".profile", ""}})
    EXPECT_EQ(RemoveExtension(name), result) << name;
}
