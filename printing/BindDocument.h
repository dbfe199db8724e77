// Binding a curve template to every data curve of a LAS document, in file order.
#pragma once

class TCurveTemplate;
class TLASFile;

// The arrays stay the document's: the template must not outlive them.
void BindAllCurves(TCurveTemplate& t, const TLASFile& las);
