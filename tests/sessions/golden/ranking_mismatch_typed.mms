     2 < Number of models ranked
 Model     -nln[L] #Prms        AICc       dAICc      AIC Wt                            Algorithm file                           Covariance file  Notes>
     1  1.2990E+02     3  2.6607E+02  0.0000E+00     0.99998                            meadow_few.alg                  No covariance file found  
     2  1.2990E+02    12  2.8770E+02  2.1630E+01     0.00002                              meadow_a.alg                            meadow_few.cov  
