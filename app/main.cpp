// Tamsavik: the partial correlation of X1 and Y with X2 held constant, from
// three Pearson correlations.
#include "app/startup.h"

int main(int argc, char** argv) {
    return app::Run(argc, argv);
}
