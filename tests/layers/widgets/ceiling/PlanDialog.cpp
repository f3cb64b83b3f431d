// Ceiling code that opens a widget: the layer check must refuse it.
#include <QDialog>
