/* The public interface is plain C: this file only has to compile as C11 with every warning on. */
#include "QopLite/QopLite.h"

int QopLiteHeadersCheckVersion(void)
{
    QopVersion_t version = QopLiteVersion();
    return version.major;
}
