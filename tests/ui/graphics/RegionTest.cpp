// Regions against a brute-force pixel test: random rectangle sets combined every way, and
// the canonical form that makes equal areas compare equal.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "ui/graphics/Region.h"
#include "ui/model/Exception.h"

namespace {

using ui::Rect;
using ui::Region;

constexpr int32_t kField = 24;

std::vector<Rect> RandomRects(std::mt19937& random) {
  std::vector<Rect> rects(1 + random() % 5);
  for (Rect& r : rects) {
    const auto a = static_cast<int32_t>(random() % kField),
               b = static_cast<int32_t>(random() % kField);
    const auto c = static_cast<int32_t>(random() % kField),
               d = static_cast<int32_t>(random() % kField);
    r = {std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
  }
  return rects;
}

bool InAny(const std::vector<Rect>& rects, int32_t x, int32_t y) {
  for (const Rect& r : rects) {
    if (r.Contains(x, y)) return true;
  }
  return false;
}

bool Disjoint(const Region& region) {
  const auto& rects = region.Rects();
  for (std::size_t i = 0; i < rects.size(); ++i) {
    for (std::size_t k = i + 1; k < rects.size(); ++k) {
      if (!rects[i].Intersect(rects[k]).IsEmpty()) return false;
    }
  }
  return true;
}

// Bands of one top and bottom sorted downward, each sorted left to right without touching
// pieces, and no band repeating the columns of the band right above it.
bool Canonical(const Region& region) {
  const auto rects = region.Rects();
  std::size_t previous = 0, band = 0;
  while (band < rects.size()) {
    std::size_t end = band + 1;
    while (end < rects.size() && rects[end].Top == rects[band].Top) ++end;
    for (std::size_t k = band; k < end; ++k) {
      if (rects[k].IsEmpty() || rects[k].Bottom != rects[band].Bottom) return false;
      if (k > band && rects[k - 1].Right >= rects[k].Left) return false;
    }
    if (band > 0) {
      if (rects[band].Top < rects[previous].Bottom) return false;
      const bool sameColumns = end - band == band - previous &&
                               std::equal(rects.begin() + static_cast<std::ptrdiff_t>(band),
                                          rects.begin() + static_cast<std::ptrdiff_t>(end),
                                          rects.begin() + static_cast<std::ptrdiff_t>(previous),
                                          [](const Rect& x, const Rect& y) {
                                            return x.Left == y.Left && x.Right == y.Right;
                                          });
      if (sameColumns && rects[band].Top == rects[previous].Bottom) return false;
    }
    previous = band;
    band = end;
  }
  return true;
}

TEST(Region, CombinationsMatchAPixelByPixelTest) {
  std::mt19937 random(42);
  for (int run = 0; run < 400; ++run) {
    const std::vector<Rect> a = RandomRects(random), b = RandomRects(random);
    const Region ra = Region::FromRects(a), rb = Region::FromRects(b);
    const Region unite = ra.Union(rb), meet = ra.Intersect(rb), minus = ra.Exclude(rb);
    for (const Region* r : {&ra, &unite, &meet, &minus}) {
      ASSERT_TRUE(Disjoint(*r));
      ASSERT_TRUE(Canonical(*r)) << run;
    }
    for (int32_t y = -1; y <= kField; ++y) {
      for (int32_t x = -1; x <= kField; ++x) {
        const bool inA = InAny(a, x, y), inB = InAny(b, x, y);
        ASSERT_EQ(ra.Contains(x, y), inA);
        ASSERT_EQ(unite.Contains(x, y), inA || inB) << run << ": " << x << "," << y;
        ASSERT_EQ(meet.Contains(x, y), inA && inB) << run << ": " << x << "," << y;
        ASSERT_EQ(minus.Contains(x, y), inA && !inB) << run << ": " << x << "," << y;
      }
    }
  }
}

// The operations in place give what the ones that make a new region give, also with the region
// itself as the other side, and with a region that held many rectangles and now holds few.
TEST(Region, InPlaceOperationsMatchTheOnesThatMakeANewRegion) {
  std::mt19937 random(7);
  Region kept;  // reused from run to run, as a context's clip is
  for (int run = 0; run < 400; ++run) {
    const std::vector<Rect> a = RandomRects(random), b = RandomRects(random);
    const Region ra = Region::FromRects(a), rb = Region::FromRects(b);
    kept = ra;
    kept.UnionWith(rb);
    ASSERT_EQ(kept, ra.Union(rb)) << run;
    kept = ra;
    kept.IntersectWith(rb);
    ASSERT_EQ(kept, ra.Intersect(rb)) << run;
    kept = ra;
    kept.Subtract(rb);
    ASSERT_EQ(kept, ra.Exclude(rb)) << run;
    kept = ra;
    kept.Subtract(b, 3, -2);
    ASSERT_EQ(kept, ra.Exclude(rb.Offset(3, -2))) << run;
    ASSERT_TRUE(Canonical(kept)) << run;
    kept = ra;
    kept.IntersectWith(kept);
    ASSERT_EQ(kept, ra) << run;
    kept.Subtract(kept);
    ASSERT_TRUE(kept.IsEmpty()) << run;
    // A rectangle inside one of the region's rectangles.
    if (!ra.IsEmpty()) {
      const Rect& first = ra.Rects().front();
      const Region inner(Rect{first.Left, first.Top, first.Left + 1, first.Top + 1});
      ASSERT_EQ(ra.Intersect(inner), inner) << run;
    }
  }
}

TEST(Region, SameAreaGivesTheSameRectangles) {
  const Rect halves[] = {{0, 0, 5, 10}, {5, 0, 10, 10}};
  const Rect rows[] = {{0, 0, 10, 3}, {0, 3, 10, 10}};
  EXPECT_EQ(Region::FromRects(halves), Region::FromRects(rows));
  EXPECT_EQ(Region::FromRects(rows).Rects().size(), 1u);
}

TEST(Region, BoundingBoxAndEmptiness) {
  const Rect rects[] = {{2, 3, 4, 5}, {10, 1, 12, 2}};
  EXPECT_EQ(Region::FromRects(rects).BoundingBox(), (Rect{2, 1, 12, 5}));
  EXPECT_TRUE(Region(Rect{3, 3, 3, 9}).IsEmpty());
  EXPECT_TRUE(Region(Rect{0, 0, 4, 4}).Exclude(Region(Rect{-1, -1, 5, 5})).IsEmpty());
}

std::vector<uint8_t> RegionData(const std::vector<Rect>& rects, uint32_t declaredCount) {
  std::vector<uint8_t> block;
  const auto put = [&block](int32_t value) {
    for (int i = 0; i < 4; ++i) {
      block.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
    }
  };
  put(32), put(1), put(static_cast<int32_t>(declaredCount)), put(0);  // size, type, count
  put(0), put(0), put(100), put(100);                                 // bounds
  for (const Rect& r : rects) put(r.Left), put(r.Top), put(r.Right), put(r.Bottom);
  return block;
}

TEST(Region, BuiltFromARectangleDataBlock) {
  // Runs of a mask, one rectangle per run and row, as an image's region conversion makes them.
  const std::vector<Rect> runs = {{1, 0, 3, 1}, {1, 1, 3, 2}, {5, 1, 6, 2}};
  const Region region = Region::FromData(RegionData(runs, 3));
  EXPECT_EQ(region, Region::FromRects(runs));
  EXPECT_TRUE(region.Contains(5, 1));
  EXPECT_FALSE(region.Contains(5, 0));
}

TEST(Region, MalformedDataBlockIsRefused) {
  EXPECT_THROW(Region::FromData(RegionData({{0, 0, 1, 1}}, 2)), ui::Exception);  // count too big
  std::vector<uint8_t> wrongType = RegionData({}, 0);
  wrongType[4] = 2;
  EXPECT_THROW(Region::FromData(wrongType), ui::Exception);
  EXPECT_THROW(Region::FromData(std::vector<uint8_t>(31)), ui::Exception);
}

}  // namespace
