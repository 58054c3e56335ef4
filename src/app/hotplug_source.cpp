#include "app/hotplug_source.h"

namespace velorin {

HotplugSource::~HotplugSource() = default;

}  // namespace velorin
