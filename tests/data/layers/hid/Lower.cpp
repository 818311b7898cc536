// A lower layer reaching up: the layer check must refuse this tree.
#include "app/Upper.h"
#include <QString>
