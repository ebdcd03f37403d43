     3 < Number of models ranked
 Model     -nln[L] #Prms        AICc       dAICc      AIC Wt                            Algorithm file                           Covariance file  Notes>
     1  1.2990E+02    12  2.8770E+02  0.0000E+00     0.79475                              meadow_a.alg                              meadow_a.cov  
     2  1.2990E+02    13  2.9041E+02  2.7076E+00     0.20525                              meadow_c.alg                              meadow_c.cov  
     3  1.3967E+02    24  3.4499E+02  5.7282E+01     0.00000                              meadow_b.alg                              meadow_b.cov  

Parameter estimates and their SEs resulting from averaging across all ranked models.
Each model contributes to the reported averages according to its AIC Weight.
SEs will report a value of -1 if any model is missing an estimate for SE.

Parameter_#  Parameter_Value     SEs_Grid_#1     SEs_Grid_#2     SEs_Grid_#3
          1      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          2      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          3      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          4      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          5      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          6      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          7      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          8      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
          9      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
         10      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
         11      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
         12      -1.0000E+00      5.0000E-01      4.5000E-01     -1.0000E+00
         13       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         14       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         15       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         16       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         17       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         18       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         19       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         20       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         21       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         22       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         23       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00
         24       1.0000E+01      4.1050E-01      3.8998E-01     -1.0000E+00

