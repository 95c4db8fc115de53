// Message convention of the library's exceptions.

#include <gtest/gtest.h>

#include "numeric/FastFourier.h"
#include "numeric/VkrBase.h"

TEST(VkrBase, ComponentPrefixQuotesTheNameEvenWhenEmpty) {
    EXPECT_EQ("Component \"FastFourier4096\": ", ComponentPrefix("FastFourier4096"));
    EXPECT_EQ("Component \"\": ", ComponentPrefix(""));
    TComponent unnamed;
    EXPECT_EQ("Component \"\": not enough memory on heap",
              ComponentMessage(unnamed, "not enough memory on heap"));
}

TEST(VkrBase, UnitExceptionsDeriveFromTheBase) {
    TFastFourier ff;
    try {
        ff.SetNumData(0);
        FAIL() << "size 0 was accepted";
    } catch (const std::exception& e) {
        EXPECT_NE(nullptr, dynamic_cast<const EVKRError*>(&e));
        EXPECT_STREQ("Component \"\": data length must be power of 2", e.what());
    }
}
