/* A host built against an installed zav: imports a model file and prints the
 * number of models in it. */
#include <stdio.h>

#include "zav.h"

int main(int argc, char** argv) {
  int status = 0;
  int count = 0;
  ZAV_SESSION session = NULL;
  ZAV_MODEL model = NULL;
  int more;
  if (argc != 2) {
    fprintf(stderr, "usage: %s MODEL_FILE\n", argv[0]);
    return 2;
  }
  if (!ZAV_PerformImport(argv[1], 0, &session, &status)) {
    fprintf(stderr, "cannot import %s: status %d\n", argv[1], status);
    return 1;
  }
  for (more = ZAV_GetModelFirst(session, &model, &status); more; more = ZAV_GetModelNext(session, &model, &status)) {
    ++count;
  }
  status = 0;
  ZAV_EndImport(session, &status);
  printf("%d\n", count);
  return 0;
}
