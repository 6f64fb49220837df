/* QopTransform.h: 2-D affine transforms of six doubles. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void QopTransformSetIdentity(QopTransform_t t);
void QopTransformCopy(QopTransform_t dst, const QopTransform_t src);
/* transB becomes transA after transB (transB applied first). */
void QopTransformConcat(const QopTransform_t transA, QopTransform_t transB);
/* Each concatenates its transform after t. */
void QopTransformPostScale(QopTransform_t t, double scaleX, double scaleY);
void QopTransformPostTranslate(QopTransform_t t, double dx, double dy);
void QopTransformPostRotate(QopTransform_t t, double rotate);
/* A singular transform (determinant exactly 0) inverts to the identity. */
void QopTransformGetInverse(const QopTransform_t t, QopTransform_t inverted);

#ifdef __cplusplus
}
#endif
