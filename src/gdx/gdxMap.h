// The process-wide registry of display lists by integer key.
#pragma once

#include "gdx/CMavGDX.h"

class CMavDataItem;

// The smallest key >= 1 without an entry. The key is not reserved.
int gdxMapKeyNew();
// The list stored under the key, or null. The pointer stays valid until the key is removed, also while other
// keys are added or removed and when the key is set again.
CMavGDX* getGdxFromMap(int key);
// Stores a copy of the list under the key (any int); an existing entry keeps its list object and takes the
// contents.
void gdxMapSetAt(int key, CMavGDX& gdx);
// Destroys the key's list and removes the entry; false when the key has none.
bool gdxMapRemoveAt(int key);
// Makes a new list from a data item (or, for null or a plain item, from the configuration alone), stores it
// under a new key and returns the key; -1 when the stored list cannot be fetched again.
int createGdxInMap(CMavDataItem* data);
