// The sound-file history in both stores: natively over the fakes, under Wine
// over the real registry and real ini files.

#include <string>
#include <vector>

#include "settings/combobox_queue.h"
#include "unit/settings/store_environment.h"

namespace kivora::test {
namespace {

using settings::ComboboxQueue;
using Entries = std::vector<std::u16string>;

std::u16string file(int n) {
  return u"C:\\Sounds\\" + std::u16string(1, static_cast<char16_t>(u'a' + n)) + u".wav";
}

TEST_P(SoundFileHistoryStore, PushesKeepTheMostRecentFirstAndSurviveAReload) {
  for (bool ini : {false, true}) {
    SCOPED_TRACE(ini ? "ini" : "registry");
    ComboboxQueue queue(store(), kHistoryName);
    queue.load(ini);
    EXPECT_TRUE(queue.entries().empty());
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(queue.push(file(i), ini));
    const Entries newestFirst{file(2), file(1), file(0)};
    EXPECT_EQ(queue.entries(), newestFirst);
    EXPECT_EQ(loadedHistory(ini), newestFirst);

    // A file used before moves to the front instead of appearing twice.
    EXPECT_TRUE(queue.push(file(0), ini));
    EXPECT_EQ(loadedHistory(ini), (Entries{file(0), file(2), file(1)}));
  }
}

TEST_P(SoundFileHistoryStore, TheRegistryHoldsOneMultiStringValue) {
  ComboboxQueue queue(store(), kHistoryName);
  queue.push(u"a.wav", false);
  queue.push(u"b.wav", false);
  const auto stored = getValue(kHistoryName);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->first, platform::kRegMultiSz);
  EXPECT_EQ(stored->second, multiSz({u"b.wav", u"a.wav"}));
}

TEST_P(SoundFileHistoryStore, AFullHistoryDropsItsOldestEntry) {
  for (bool ini : {false, true}) {
    SCOPED_TRACE(ini ? "ini" : "registry");
    ComboboxQueue queue(store(), kHistoryName);
    queue.load(ini);
    for (int i = 0; i < 17; ++i) queue.push(file(i), ini);
    const Entries stored = loadedHistory(ini);
    ASSERT_EQ(stored.size(), ComboboxQueue::kCapacity);
    EXPECT_EQ(stored.front(), file(16));
    EXPECT_EQ(stored.back(), file(1));
  }
}

TEST_P(SoundFileHistoryStore, TheFirstEntryAgainOrAnEmptyNameWritesNothing) {
  // The store is changed behind the queue's back; a push that wrote would
  // put the queue's own entries back.
  ComboboxQueue registryQueue(store(), kHistoryName);
  registryQueue.push(u"a.wav", false);
  putValue(kHistoryName, platform::kRegMultiSz, multiSz({u"other.wav"}));
  EXPECT_FALSE(registryQueue.push(u"a.wav", false));
  EXPECT_FALSE(registryQueue.push(u"", false));
  EXPECT_EQ(loadedHistory(false), Entries{u"other.wav"});

  ComboboxQueue iniQueue(store(), kHistoryName);
  iniQueue.push(u"a.wav", true);
  putHistoryIni(u"0", u"other.wav");
  EXPECT_FALSE(iniQueue.push(u"a.wav", true));
  EXPECT_FALSE(iniQueue.push(u"", true));
  EXPECT_EQ(loadedHistory(true), Entries{u"other.wav"});
}

TEST_P(SoundFileHistoryStore, ReadingStopsAtTheFirstEmptyEntryAndIgnoresOtherTypes) {
  putValue(kHistoryName, platform::kRegMultiSz, multiSz({u"one.wav", u"", u"three.wav"}));
  EXPECT_EQ(loadedHistory(false), Entries{u"one.wav"});
  putText(kHistoryName, u"plain.wav");
  EXPECT_TRUE(loadedHistory(false).empty());

  putHistoryIni(u"0", u"zero.wav");
  putHistoryIni(u"1", u"one.wav");
  putHistoryIni(u"3", u"three.wav");
  EXPECT_EQ(loadedHistory(true), (Entries{u"zero.wav", u"one.wav"}));
}

TEST_P(SoundFileHistoryStore, AnIniSaveReplacesTheWholeSection) {
  putHistoryIni(u"0", u"zero.wav");
  putHistoryIni(u"2", u"stale.wav");
  putHistoryIni(u"x", u"stray.wav");
  ComboboxQueue queue(store(), kHistoryName);
  queue.load(true);
  queue.push(u"new.wav", true);
  EXPECT_EQ(historyIni(u"0"), u"new.wav");
  EXPECT_EQ(historyIni(u"1"), u"zero.wav");
  EXPECT_FALSE(historyIni(u"2").has_value());
  EXPECT_FALSE(historyIni(u"x").has_value());
}

TEST_P(SoundFileHistoryStore, AFirstIniSaveKeepsNamesOutsideTheCodePage) {
  const std::u16string japanese = u"C:\\サウンド\\通知.wav";
  ComboboxQueue queue(store(), kHistoryName);
  queue.push(japanese, true);
  EXPECT_EQ(loadedHistory(true), Entries{japanese});
  const auto bytes = env->fileBytes(ini());
  ASSERT_TRUE(bytes.has_value());
  ASSERT_GE(bytes->size(), 2u);
  EXPECT_EQ((*bytes)[0], 0xFF);
  EXPECT_EQ((*bytes)[1], 0xFE);
}

}  // namespace
}  // namespace kivora::test
