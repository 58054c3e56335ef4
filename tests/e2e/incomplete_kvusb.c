/* A USB library that loads but lacks SendHWriteData and SendHReadData: the program must refuse
 * it and never call into it. */
#include <stddef.h>

__attribute__((visibility("default"))) void* FindDevice(const void* manufacturer, const void* product, int flags) {
    (void)manufacturer;
    (void)product;
    (void)flags;
    return NULL;
}
