#include "model/importers/importers.h"

#include "model/importers/import_cob.h"
#include "model/importers/import_common.h"
#include "model/importers/import_mqo.h"
#include "model/importers/import_mx.h"
#include "model/importers/import_rok.h"

bool RZ_ImportRokFile(RZ_Model& model, GfxDevice*, const char* fileName, void* ownerWindow,
                      bool withEdges) {
    return ImportRok(model, fileName, ownerWindow, withEdges);
}

bool RZ_ImportMqoFile(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow,
                      bool) {
    return ImportMqo(model, device, fileName, ownerWindow);
}

bool RZ_ImportMxFile(RZ_Model& model, GfxDevice*, const char* fileName, void* ownerWindow, bool) {
    return ImportMx(model, fileName, ownerWindow);
}

bool RZ_ImportCobFile(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow,
                      bool) {
    return ImportCob(model, device, fileName, ownerWindow);
}

std::string RZ_TakeImportFailure() {
    return foreign::TakeImportFailure();
}
