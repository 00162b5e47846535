#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The general linear least-squares solver. It knows nothing of images or
// polynomials: it is given Nd observations and, for each, the values of Nv
// basis functions, and it returns the Nv coefficients that minimise the sum
// of squared residuals together with an estimate of their standard errors.
//
// Like the rest of the fit, every array is indexed from 0 and used from
// index 1, so index k of a coefficient array is coefficient k.

// What the window shows when LSM reports a singular normal matrix: a warning
// box with an OK button.
inline constexpr char SingularMatrixTitle[] = "ERROR";
inline constexpr char SingularMatrixText[] = "DET=0";

enum class LsmStatus {
    Solved,   // Tx and Dv hold the coefficients and their standard errors
    Singular, // a pivot column was exactly zero; Tx and Dv are untouched
    BadSize,  // not 0 <= Nv < Nd, or an array too small; Tx and Dv are untouched
};

// Aa(k, i): the value of basis function k at observation i, single
// precision, indices 0..Nv by 0..Nd (row and column 0 unused), zero-filled.
class BasisValues {
public:
    BasisValues(int functionCount, int observationCount);

    int functionCount() const { return m_functionCount; }
    int observationCount() const { return m_observationCount; }

    float& operator()(int k, int i) { return m_values[index(k, i)]; }
    float operator()(int k, int i) const { return m_values[index(k, i)]; }

private:
    std::size_t index(int k, int i) const;

    int m_functionCount;
    int m_observationCount;
    std::vector<float> m_values;
};

// Solves the least-squares problem De(i) ~ sum over k of Tx(k) * Aa(k, i),
// i = 1..Nd, k = 1..Nv, through the normal equations: the normal matrix and
// every sum in double precision, inputs and outputs in single precision, and
// the normal matrix inverted in place by Gauss-Jordan elimination with
// partial pivoting (the first of several equal largest magnitudes, never an
// entry of magnitude zero). Dv(k) is the standard error of Tx(k):
// sqrt(|inverse(k, k) * S| / (Nd - Nv)), S the residual sum of squares.
//
// Needs 0 <= Nv < Nd (the error estimate divides by Nd - Nv), room for index
// Nd in De and index Nv in Tx and Dv, and Aa sized at least Nv by Nd;
// otherwise it returns BadSize. When every candidate of a pivot column is
// exactly zero it returns Singular at once; a merely tiny pivot is used. In
// both cases Tx and Dv are left exactly as they were, so a caller that keeps
// going uses its previous coefficients. Nv = 0 solves nothing and leaves Tx
// and Dv untouched.
LsmStatus LSM(std::span<const float> De, const BasisValues& Aa, std::span<float> Tx,
              std::span<float> Dv, std::int16_t Nd, std::int16_t Nv);
