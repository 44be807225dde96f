#pragma once
#include <string>

// Brings the disabled bindings that name adapter (a service key name) back into force in every
// network service. True when the software registrations could be read and a network service
// or a teaming transport binds to the adapter.
bool ReenableAdapterBindings(const std::string& adapter);
