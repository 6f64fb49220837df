#include "TesselSDK/remote/QZTranslationValue.h"

#include "TesselSDK/remote/QZTranslationRecordClass.h"

void QZTranslationValue::registerClass()
{
    QZManagedObjectClass::registerRecordClass<QZTranslationValue, QZTranslationRecordClass>("QZTranslationValue",
                                                                                            "TranslationValue")
        ->setUniqueKeyAttribute("language");
}
