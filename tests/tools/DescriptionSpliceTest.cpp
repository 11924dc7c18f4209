// The skin generator rewrites only its own parts of a stored description.

#include "DescriptionSplice.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr const char* kDescription = R"(Window W {
  Caption = "kept"
  Lists L {
    Box Inner {
    }
    Data = (
      00
    )
  }
  Box A {
    Data = (
      AA
    )
  }
  Box B {
    Data = (
      BB
    )
  }
}
)";

TEST(DescriptionSplice, AComponentBlockIsReplacedWholeAtItsDepth) {
  EXPECT_EQ(skingen::ReplaceComponent(kDescription, "Lists L", "Lists L {\n  Count = 2\n}\n"),
            R"(Window W {
  Caption = "kept"
  Lists L {
    Count = 2
  }
  Box A {
    Data = (
      AA
    )
  }
  Box B {
    Data = (
      BB
    )
  }
}
)");
}

TEST(DescriptionSplice, ABinaryPropertyIsReplacedOnlyInTheNamedComponent) {
  const char* holder = "Box {\n  Width = 3\n  Data = (\n    0102\n    0304\n  )\n}\n";
  const std::string made = skingen::ReplaceBinaryProperty(kDescription, "Box B", "Data", holder);
  EXPECT_NE(made.find("  Box A {\n    Data = (\n      AA\n    )\n"), std::string::npos);
  EXPECT_NE(made.find("  Box B {\n    Data = (\n      0102\n      0304\n    )\n  }\n}\n"),
            std::string::npos);
  EXPECT_EQ(made.find("Width"), std::string::npos);
}

TEST(DescriptionSplice, MissingPartsAreReportedNotSkipped) {
  EXPECT_THROW(skingen::ReplaceComponent(kDescription, "Lists M", "Lists M {\n}\n"),
               std::runtime_error);
  EXPECT_THROW(skingen::ReplaceBinaryProperty(kDescription, "Box Inner", "Data", "X {\n}\n"),
               std::runtime_error);
  EXPECT_THROW(skingen::ReplaceComponent("Lists L {\n  x = 1\n", "Lists L", "Lists L {\n}\n"),
               std::runtime_error);
}

}  // namespace
