#include "queries/folder_query.h"

void queryStringValue(const char*, const char*, char*) {}

void getSpecialFolderPath(int, char*) {}
