#pragma once
#include "run/Component.h"

// Catalog entry 18, removed last and without a log block: what is left of the failover agent
// monitor, the shared tools folder and the teaming transport services.
class FailoverAgentTransports : public Component {};
