#pragma once
// The message entities of the content model: "Message" and "MessageText". A store made before them
// gains their tables when it opens; its packs stay.

#include "CoreData/NSManagedObjectModel.h"

void QZAddMessageEntities(NSManagedObjectModel& model);
