#include "platform/Persistence.h"

void PersistUserFiles() {}
