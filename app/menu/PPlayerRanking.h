// The players' ranking of the online pages: every name of a set of hiscore
// lists with its points, 50 for a first place and one less a place below.
//
// The ranking is the one a working list makes when every entry of the lists
// is taken in turn: a name already listed is taken out and its points added
// to the entry's, then the name goes in at the place that a binary search of
// the points (largest first) gives; a total equal to one already listed
// goes just before the equal entry that the halving meets. The order of
// equal totals thus follows from the whole history of the list. It is kept
// here exactly, without the list itself: where the halving meets a run of
// equal totals depends only on the list's length and on where the run
// starts and ends, so the ranking is held in chunks of bounded size with
// their counts summed in a tree, and every entry costs a few halvings and
// one move within a chunk instead of a search and a move of the whole list.
#pragma once

#include "core/Platform.h"
#include "core/SStringArray.h"

#include <stdint.h>

#include <vector>

class PPlayerRanking {
public:
  enum { FIRST_PLACE_POINTS = 50 };

  // Ranks every name of the lists, taken list by list in the given order
  // and each list from its first entry; null lists are skipped. Names are
  // compared byte for byte up to their end; the ranking keeps its own copy.
  void Rank(const SStringArray* const* lists, int count);

  int GetCount() const { return int(m_places.size()); }
  // Of the place from 0; the place must be below the count.
  const char* GetName(int place) const { return m_names.data() + m_places[place].name; }
  int GetPoints(int place) const { return m_places[place].points; }

private:
  enum { CHUNK = 256 };
  struct Entry {
    int points;
    int player;
  };
  // A place in the working list: the chunk's order, the place in that
  // chunk and the index in the list (order = the number of chunks and
  // index = the count past the end).
  struct Spot {
    int order;
    int offset;
    int index;
  };
  struct Place {
    int points;
    int name;  // offset into m_names
  };
  struct Slot {
    uint32_t hash;
    int player;  // -1: free
  };

  // The names of the lists as player numbers into m_taken, in the order
  // taken; each player's name into m_names.
  void NamePlayers(const SStringArray* const* lists, int count);
  // One entry of the working list: the player with the points of its place.
  void Take(int player, int points);

  // The working list, descending by points, in chunks of up to CHUNK
  // entries; chunks are kept in list order by m_order.
  int Prefix(int order) const;  // entries before the chunk at that order
  void AddCount(int order, int delta);
  // The counts and last points of the chunks after a change of their order.
  void RebuildOrder();
  // The first entry whose points are at most (or, when strictly, below)
  // points.
  Spot FirstAtMost(int points, bool strictly) const;
  // Puts the entry in at index; hint is a place at or before index, in the
  // same chunk when it can be.
  void Insert(int index, const Entry& entry, const Spot& hint);
  void Remove(int player);
  int NewChunk();
  void SplitChunk(int order);
  void DropChunk(int order);
  Entry* ChunkEntries(int chunk) { return m_entries.data() + size_t(chunk) * CHUNK; }
  const Entry* ChunkEntries(int chunk) const { return m_entries.data() + size_t(chunk) * CHUNK; }

  std::vector<Place> m_places;
  std::vector<char> m_names;

  std::vector<int> m_taken;       // players in the order their entries are taken
  std::vector<int> m_nameOf;      // player -> offset into m_names
  std::vector<Slot> m_table;      // the names' hash table

  std::vector<Entry> m_entries;   // CHUNK slots per chunk
  std::vector<int> m_sizes;       // per chunk
  std::vector<int> m_free;        // chunks out of use
  std::vector<int> m_order;       // list order -> chunk
  std::vector<int> m_orderOf;     // chunk -> list order
  std::vector<int> m_counts;      // Fenwick tree over list order: chunk sizes
  std::vector<int> m_last;        // list order -> the points of its chunk's last entry
  std::vector<int> m_chunkOf;     // player -> chunk, -1 when not listed
  std::vector<int> m_total;       // player -> points listed
  int m_count = 0;
};
