#include <gtest/gtest.h>

#include "frame/classes.h"

TEST(Smoke, CreatesFileLib) { EXPECT_NE(zv::createObject(u"ZivoviViruvov.FileLib"), nullptr); }
