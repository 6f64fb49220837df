#include "TesselSDK/remote/QZTranslationKey.h"

#include "TesselSDK/remote/QZTranslationRecordClass.h"

void QZTranslationKey::registerClass()
{
    QZManagedObjectClass::registerRecordClass<QZTranslationKey, QZTranslationRecordClass>("QZTranslationKey",
                                                                                          "TranslationKey")
        ->setUniqueKeyAttribute("value");
}
