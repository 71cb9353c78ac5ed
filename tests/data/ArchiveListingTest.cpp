#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <string.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::set<std::string> LowerSet(const std::vector<std::string>& names) {
  std::set<std::string> set;
  for (const std::string& name : names) set.insert(GameArchives::Lower(name));
  return set;
}

std::string Join(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// The archive holds every required name and nothing else (names compared
// without regard to case, as the game looks them up).
void ExpectListing(const char* extension, const std::vector<std::string>& required) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, extension)) << "gravrun2." << extension;
  std::set<std::string> held = LowerSet(GameArchives::Names(archive));
  std::set<std::string> wanted = LowerSet(required);
  std::vector<std::string> missing, unexpected;
  for (const std::string& name : wanted) {
    if (!held.count(name)) missing.push_back(name);
  }
  for (const std::string& name : held) {
    if (!wanted.count(name)) unexpected.push_back(name);
  }
  EXPECT_TRUE(missing.empty()) << "gravrun2." << extension << " lacks " << Join(missing);
  EXPECT_TRUE(unexpected.empty()) << "gravrun2." << extension << " holds " << Join(unexpected);
  EXPECT_EQ(held.size(), (size_t)archive.GetCount()) << "a name occurs twice in gravrun2." << extension;
}

// Channel ids as the game hands them out: one per sound that loads, in load
// order. Returns the id each name got, -1 for a name that did not load.
std::vector<int> ChannelIds(SResource& archive, const char* const* names, int count) {
  std::vector<int> ids;
  int next = 0;
  for (int i = 0; i < count; ++i) {
    SFileMem data;
    bool loaded = GameArchives::Load(archive, names[i], data) && data.GetSize() > 0;
    ids.push_back(loaded ? next++ : -1);
  }
  return ids;
}

const char* const kArchiveExtensions[] = {"img", "snd", "obj", "fx", "dat"};

}  // namespace

TEST(ArchiveListing, ImagesAreTheOnesTheLevelsAndTheMenuLoad) {
  ExpectListing("img", RequiredNames::Images());
}

TEST(ArchiveListing, SoundsAreTheOnesTheLevelsAndTheMenuLoad) {
  ExpectListing("snd", RequiredNames::Sounds());
}

TEST(ArchiveListing, MeshesAreTheOnesTheLevelsLoad) { ExpectListing("obj", RequiredNames::Meshes()); }

TEST(ArchiveListing, EffectsAreTheOnesTheLevelsLoad) { ExpectListing("fx", RequiredNames::Effects()); }

TEST(ArchiveListing, LevelTextsAreThoseOfTheMapCellsTheLessonAndTheBonus) {
  ExpectListing("dat", RequiredNames::Levels());
}

TEST(ArchiveListing, EverySoundGetsTheChannelIdTheGameUsesForIt) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));

  ASSERT_EQ(57, RequiredNames::kLevelSoundCount);
  std::vector<int> ids = ChannelIds(archive, RequiredNames::kLevelSounds, 57);
  for (int i = 0; i < 57; ++i)
    EXPECT_EQ(i, ids[i]) << RequiredNames::kLevelSounds[i] << " would not be sound " << i;
  // The level music takes the next channel, 57, in every world.
  for (const char* music : {"music0.mp3", "music1.mp3", "music2.mp3"}) {
    SFileMem data;
    EXPECT_TRUE(GameArchives::Load(archive, music, data) && data.GetSize() > 0) << music;
  }

  std::vector<int> menuIds = ChannelIds(archive, RequiredNames::kMenuSounds, RequiredNames::kMenuSoundCount);
  for (int i = 0; i < RequiredNames::kMenuSoundCount; ++i)
    EXPECT_EQ(i, menuIds[i]) << RequiredNames::kMenuSounds[i] << " would not be menu sound " << i;
}

TEST(ArchiveListing, ArchivesAreCompressedAndOnlyTheKeyReadsThem) {
  const char* key = DATA_ARCHIVE_KEY;
  ASSERT_EQ(80u, strlen(key));
  for (const char* c = key; *c; ++c) EXPECT_TRUE(isalnum((unsigned char)*c)) << "key byte " << *c;

  for (const char* extension : kArchiveExtensions) {
    SResource archive;
    ASSERT_TRUE(GameArchives::Open(archive, extension)) << extension;
    EXPECT_TRUE(archive.IsCompressed()) << extension;
    for (const std::string& name : GameArchives::Names(archive)) {
      SFileMem data;
      EXPECT_TRUE(GameArchives::Load(archive, name, data)) << name;
    }

    // Without the key the directory still reads, but no entry inflates.
    SResource keyless;
    ASSERT_TRUE(GameArchives::Open(keyless, extension, ""));
    if (keyless.GetCount() > 0) {
      SFileMem data;
      EXPECT_FALSE(GameArchives::Load(keyless, keyless.GetName(0).GetText(), data)) << extension;
    }
  }
}
