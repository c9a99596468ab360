#include "wayland/buffer_damage.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

const QRect kSurface(0, 0, 1920, 1080);

// Paints the next buffer as a surface would: takes one, and lends it to the compositor.
std::size_t paintNext(BufferDamage& damage) {
  const std::optional<std::size_t> buffer = damage.acquire();
  EXPECT_TRUE(buffer.has_value());
  damage.lend(buffer.value_or(0));
  return buffer.value_or(0);
}

TEST(BufferDamageTest, ANewBufferLacksTheWholePicture) {
  BufferDamage damage;
  damage.reset(kSurface);
  EXPECT_TRUE(damage.unshown());
  const std::optional<std::size_t> first = damage.acquire();
  ASSERT_EQ(first, 0u);
  EXPECT_EQ(damage.damageOf(0), QRegion(kSurface));
  damage.lend(0);
  EXPECT_FALSE(damage.unshown());
  // The compositor still holds the first: a second buffer comes, as fresh as the first was.
  EXPECT_EQ(damage.acquire(), 1u);
  EXPECT_EQ(damage.damageOf(1), QRegion(kSurface));
}

TEST(BufferDamageTest, EachBufferLacksWhatChangedSinceItWasPainted) {
  BufferDamage damage;
  damage.reset(kSurface);
  const std::size_t a = paintNext(damage);
  const std::size_t b = paintNext(damage);
  damage.giveBack(a);
  const QRect plane1(100, 100, 50, 20);
  damage.add(plane1);
  EXPECT_TRUE(damage.unshown());
  // A still shows the first picture; B was painted whole afterwards, but before this change.
  EXPECT_EQ(damage.acquire(), a);
  EXPECT_EQ(damage.damageOf(a), QRegion(plane1));
  EXPECT_EQ(damage.damageOf(b), QRegion(plane1));
  damage.lend(a);
  damage.giveBack(b);
  const QRect plane2(400, 300, 60, 30);
  damage.add(plane2);
  // B missed both changes, A only the last.
  EXPECT_EQ(damage.acquire(), b);
  EXPECT_EQ(damage.damageOf(b), QRegion(plane1) + plane2);
  EXPECT_EQ(damage.damageOf(a), QRegion(plane2));
}

TEST(BufferDamageTest, NoMoreThanTwoBuffersAndNoneWhileBothAreLent) {
  BufferDamage damage;
  damage.reset(kSurface);
  for (int i = 0; i < 2; ++i) paintNext(damage);
  damage.add(QRect(0, 0, 10, 10));
  EXPECT_FALSE(damage.acquire().has_value());
  EXPECT_EQ(damage.bufferCount(), BufferDamage::kMostBuffers);
  // The change waits, and is still owed once a buffer comes back.
  EXPECT_TRUE(damage.unshown());
  damage.giveBack(1);
  EXPECT_EQ(damage.acquire(), 1u);
  EXPECT_EQ(damage.damageOf(1), QRegion(0, 0, 10, 10));
}

TEST(BufferDamageTest, ANewSizeForgetsEveryBuffer) {
  BufferDamage damage;
  damage.reset(kSurface);
  paintNext(damage);
  paintNext(damage);
  const QRect doubled(0, 0, 3840, 2160);
  damage.reset(doubled);
  EXPECT_EQ(damage.bufferCount(), 0u);
  // A buffer given back after the change names one that is gone.
  damage.giveBack(1);
  EXPECT_EQ(damage.acquire(), 0u);
  EXPECT_EQ(damage.damageOf(0), QRegion(doubled));
}

TEST(BufferDamageTest, ChangesOutsideTheSurfaceAreDropped) {
  BufferDamage damage;
  damage.reset(kSurface);
  paintNext(damage);
  damage.giveBack(0);
  damage.add(QRect(-50, -50, 40, 40));
  EXPECT_FALSE(damage.unshown());
  damage.add(QRect(1900, 1070, 100, 100));
  EXPECT_EQ(damage.acquire(), 0u);
  EXPECT_EQ(damage.damageOf(0), QRegion(1900, 1070, 20, 10));
}

TEST(BufferDamageTest, ASurfaceNeverShownKeepsItsDamageSmall) {
  BufferDamage damage;
  damage.reset(kSurface);
  paintNext(damage);
  // Hours of frames while the compositor asks for none: scattered changes pile up.
  QRegion everything;
  for (int i = 0; i < 5000; ++i) {
    const QRect change((i * 37) % 1900, (i * 53) % 1060, 7, 5);
    damage.add(change);
    everything += change;
  }
  damage.giveBack(0);
  ASSERT_EQ(damage.acquire(), 0u);
  const QRegion& owed = damage.damageOf(0);
  EXPECT_LE(owed.rectCount(), BufferDamage::kMostRects);
  // Nothing that changed is left out.
  EXPECT_TRUE((everything - owed).isEmpty());
}

TEST(BufferDamageTest, WhatTheLastBufferHasIsCopiedAndOnlyItsLackIsPainted) {
  BufferDamage damage;
  damage.reset(kSurface);
  const std::size_t a = paintNext(damage);
  const QRect frame1(100, 100, 50, 20);
  damage.add(frame1);
  // A new buffer lacks everything; all but the latest change comes from the buffer shown.
  const std::size_t b = damage.acquire().value();
  BufferDamage::Repair repair = damage.repairOf(b);
  EXPECT_EQ(repair.copyFrom, a);
  EXPECT_EQ(repair.copy, QRegion(kSurface) - frame1);
  EXPECT_EQ(repair.paint, QRegion(frame1));
  EXPECT_EQ(damage.unshownRegion(), QRegion(frame1));
  damage.lend(b);
  damage.giveBack(a);
  const QRect frame2(700, 500, 30, 30);
  damage.add(frame2);
  repair = damage.repairOf(a);
  EXPECT_EQ(repair.copyFrom, b);
  EXPECT_EQ(repair.copy, QRegion(frame1));
  EXPECT_EQ(repair.paint, QRegion(frame2));
  // The compositor hears only of what differs from the picture it shows.
  EXPECT_EQ(damage.unshownRegion(), QRegion(frame2));
}

TEST(BufferDamageTest, ABufferPaintedLastIsRepairedByPaintingAlone) {
  BufferDamage damage;
  damage.reset(kSurface);
  const std::size_t a = paintNext(damage);
  damage.giveBack(a);
  const QRect change(10, 10, 20, 20);
  damage.add(change);
  ASSERT_EQ(damage.acquire(), a);
  const BufferDamage::Repair repair = damage.repairOf(a);
  EXPECT_FALSE(repair.copyFrom.has_value());
  EXPECT_TRUE(repair.copy.isEmpty());
  EXPECT_EQ(repair.paint, QRegion(change));
}

}  // namespace
}  // namespace skyfare
