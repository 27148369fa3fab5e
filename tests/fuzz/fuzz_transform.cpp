// Fuzz target: the plane transformation. Any sequence of ResetTransform, SetTransform, Rotate,
// MirrorX, Compose and Transform with any values must give exactly the matrices the operations
// define (to the last bit), MirrorX twice must restore the matrix, and the third row must stay
// (0, 0, 1) while every composed matrix keeps it and the first two rows stay finite.
#include <viewtransform.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_input.h"

namespace {

using fuzz::CFuzzInput;
using fuzz::SameBits;

const int kMaxOperations = 64;
const int kMatrixSize = 9;
const int kMatrix3dSize = 16;

const double kIdentity[kMatrixSize] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
const double kThirdRow[3] = {0.0, 0.0, 1.0};

// Below these magnitudes a rotation leaves its pivot's image in place up to rounding well under
// kPivotTolerance (the products stay below about 1e7, a few ulps of which are 1e-9); beyond them
// rounding alone may move it by more.
const double kWellScaled = 1e3;
const double kPivotTolerance = 1e-6;

enum {
    opResetTransform,
    opSetTransform,
    opRotate,
    opMirrorX,
    opMirrorXTwice,
    opCompose,
    opComposeAffine,
    opComposeWithItself,
    opTransform,
    opCount
};

// Equal to the last bit; two NaNs count as equal, since which operand's payload survives an
// operation depends on how the compiler ordered the operands.
bool Same(double a, double b)
{
    return SameBits(&a, &b, 1) || (std::isnan(a) && std::isnan(b));
}

bool SameMatrix(const double* a, const double* b, int n)
{
    for (int k = 0; k < n; ++k) {
        if (!Same(a[k], b[k]))
            return false;
    }
    return true;
}

// The transformation as the operations define it, kept alongside the object: the product is
// formed the same way, so it must match to the last bit.
struct CModel {
    double m[kMatrixSize];
    bool bThirdRowKept;

    void Compose(const double* q)
    {
        // Zero times an infinite or NaN entry is NaN, so only finite upper rows keep the third
        // row of a product exactly (0, 0, 1).
        bool bFinite = true;
        for (int k = 0; k < 6; ++k)
            bFinite = bFinite && std::isfinite(m[k]);
        bThirdRowKept = bThirdRowKept && bFinite && SameBits(q + 6, kThirdRow, 3);

        double p[kMatrixSize];
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                p[i * 3 + j] =
                    (q[i * 3] * m[j] + q[i * 3 + 1] * m[3 + j]) + q[i * 3 + 2] * m[6 + j];
            }
        }
        std::memcpy(m, p, sizeof m);
    }

    void Transform(double x, double y, double* px, double* py) const
    {
        *px = (m[0] * x + m[1] * y) + m[2];
        *py = (m[3] * x + m[4] * y) + m[5];
    }
};

void ReadDoubles(CFuzzInput& in, double* v, int n)
{
    for (int i = 0; i < n; ++i)
        v[i] = in.Double();
}

bool AllWellScaled(const double* v, int n)
{
    for (int i = 0; i < n; ++i) {
        if (!(std::fabs(v[i]) <= kWellScaled))
            return false;
    }
    return true;
}

void SetTransform(CFuzzInput& in, CViewTransform& t, CModel& model)
{
    double v[5];
    ReadDoubles(in, v, 5);
    const double scaleZ = t.m_dScaleZ;
    double matrix3d[kMatrix3dSize];
    std::memcpy(matrix3d, t.m_matrix3d, sizeof matrix3d);

    t.SetTransform(v[0], v[1], v[2], v[3], v[4]);
    const double c = std::cos(v[2]);
    const double s = std::sin(v[2]);
    const double expected[kMatrixSize] = {v[3] * c, -(v[4] * s), v[0], v[3] * s, v[4] * c, v[1],
                                          0.0,      0.0,         1.0};
    std::memcpy(model.m, expected, sizeof model.m);
    model.bThirdRowKept = true;
    FUZZ_CHECK(SameBits(&t.m_dScaleX, &v[3], 1) && SameBits(&t.m_dScaleY, &v[4], 1));
    FUZZ_CHECK(SameBits(&t.m_dScaleZ, &scaleZ, 1));
    FUZZ_CHECK(SameBits(t.m_matrix3d, matrix3d, kMatrix3dSize));
}

void Rotate(CFuzzInput& in, CViewTransform& t, CModel& model)
{
    double v[3];
    ReadDoubles(in, v, 3);
    double px, py;
    model.Transform(v[0], v[1], &px, &py);
    const double c = std::cos(v[2]);
    const double s = std::sin(v[2]);
    const double k = 1.0 - c;
    const double rotation[kMatrixSize] = {c, -s, k * px + s * py, s, c, k * py - s * px,
                                          0.0, 0.0, 1.0};
    // The pivot's image is the fixed point of the rotation, as long as the matrix is affine (a
    // third row other than (0, 0, 1) feeds the rotation's translation into the first two rows).
    const bool bFixesPivot =
        model.bThirdRowKept && AllWellScaled(model.m, 6) && AllWellScaled(v, 3);
    model.Compose(rotation);
    t.Rotate(v[0], v[1], v[2]);
    if (bFixesPivot) {
        double qx, qy;
        t.Transform(v[0], v[1], qx, qy);
        FUZZ_CHECK(std::fabs(qx - px) <= kPivotTolerance && std::fabs(qy - py) <= kPivotTolerance);
    }
}

// MirrorX negates exactly the first row: every bit but the sign stays.
void MirrorX(CViewTransform& t, CModel& model)
{
    t.MirrorX();
    for (int k = 0; k < 3; ++k)
        model.m[k] = -model.m[k];
}

void MirrorXTwice(CViewTransform& t)
{
    double before[kMatrixSize];
    std::memcpy(before, t.m_matrix, sizeof before);
    t.MirrorX();
    t.MirrorX();
    FUZZ_CHECK(SameMatrix(t.m_matrix, before, kMatrixSize));
}

void Compose(CFuzzInput& in, CViewTransform& t, CModel& model, bool bAffine)
{
    double q[kMatrixSize];
    ReadDoubles(in, q, bAffine ? 6 : kMatrixSize);
    if (bAffine)
        std::memcpy(q + 6, kThirdRow, sizeof kThirdRow);
    model.Compose(q);
    t.Compose(q);
}

// Compose promises to read the whole of q before it writes, so q may be the matrix itself.
void ComposeWithItself(CViewTransform& t, CModel& model)
{
    double q[kMatrixSize];
    std::memcpy(q, model.m, sizeof q);
    model.Compose(q);
    t.Compose(t.m_matrix);
}

// Transform must agree with the model, also when its outputs are its own inputs.
void Transform(CFuzzInput& in, const CViewTransform& t, const CModel& model)
{
    const double x = in.Double();
    const double y = in.Double();
    double ex, ey;
    model.Transform(x, y, &ex, &ey);
    double tx, ty;
    t.Transform(x, y, tx, ty);
    FUZZ_CHECK(Same(tx, ex) && Same(ty, ey));
    double ax = x;
    double ay = y;
    t.Transform(ax, ay, ax, ay);
    FUZZ_CHECK(SameBits(&ax, &tx, 1) && SameBits(&ay, &ty, 1));
}

void ResetTransform(CViewTransform& t, CModel& model)
{
    t.ResetTransform();
    std::memcpy(model.m, kIdentity, sizeof model.m);
    model.bThirdRowKept = true;
    const double one = 1.0;
    FUZZ_CHECK(SameBits(&t.m_dScaleX, &one, 1) && SameBits(&t.m_dScaleY, &one, 1) &&
               SameBits(&t.m_dScaleZ, &one, 1));
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j)
            FUZZ_CHECK(t.m_matrix3d[i * 4 + j] == (i == j ? 1.0 : 0.0));
    }
}

void RunOperation(CFuzzInput& in, CViewTransform& t, CModel& model)
{
    switch (in.Byte() % opCount) {
    case opResetTransform:
        ResetTransform(t, model);
        break;
    case opSetTransform:
        SetTransform(in, t, model);
        break;
    case opRotate:
        Rotate(in, t, model);
        break;
    case opMirrorX:
        MirrorX(t, model);
        break;
    case opMirrorXTwice:
        MirrorXTwice(t);
        break;
    case opCompose:
        Compose(in, t, model, false);
        break;
    case opComposeAffine:
        Compose(in, t, model, true);
        break;
    case opComposeWithItself:
        ComposeWithItself(t, model);
        break;
    default:
        Transform(in, t, model);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CFuzzInput in(pData, nSize);
    CViewTransform t(in.Int());
    CModel model;
    std::memcpy(model.m, kIdentity, sizeof model.m);
    model.bThirdRowKept = true;
    FUZZ_CHECK(SameBits(t.m_matrix, model.m, kMatrixSize));
    for (int i = 0; i < kMaxOperations && !in.IsEmpty(); ++i) {
        RunOperation(in, t, model);
        FUZZ_CHECK(SameMatrix(t.m_matrix, model.m, kMatrixSize));
        if (model.bThirdRowKept)
            FUZZ_CHECK(SameBits(t.m_matrix + 6, kThirdRow, 3));
    }
    return 0;
}
